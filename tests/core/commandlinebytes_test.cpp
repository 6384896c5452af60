#include "core/platform/qt/commandlinebytes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

// Each name is made on the disk as its bytes, each file holding its own
// name; a name the decoder keeps must open its own file and no other, and
// one it refuses must be named in the error as a reader can see it.
TEST(CommandLineBytes, aNameReachesTheDiskByteForByte)
{
    struct Case
    {
        QByteArray name;
        const char *outcome; ///< "opens" or the name as the error shows it
    };
    const Case cases[] = {
        {"plain.pdb", "opens"},
        {"\xc3\x84pfel.pdb", "opens"},               // valid UTF-8
        {"\xef\xbf\xbd\xef\xbf\xbd.pdb", "opens"},   // two U+FFFD, written as UTF-8
        {"\xfe\xfe.pdb", "\\xfe\\xfe.pdb"},          // would decode as the name above
        {"caf\xe9.pdb", "caf\\xe9.pdb"},             // Windows-1252
        {"\xc3.pdb", "\\xc3.pdb"},                   // a sequence cut short
        {"\xed\xa0\x80.pdb", "\\xed\\xa0\\x80.pdb"}, // a surrogate
        {"\xc0\xaf.pdb", "\\xc0\\xaf.pdb"},          // an overlong slash
        {"tab\there.pdb", "opens"},
    };
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + '/';
    for (const Case &c : cases) {
        const QByteArray path = folder + c.name;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        ASSERT_GE(fd, 0) << path.constData();
        ASSERT_EQ(::write(fd, c.name.constData(), size_t(c.name.size())), c.name.size());
        ::close(fd);
    }
    QByteArrayList results;
    QByteArrayList expected;
    for (const Case &c : cases) {
        const QByteArray path = folder + c.name;
        const char *argv[] = {"program", "--flag", path.constData()};
        QString error;
        const std::optional<QStringList> arguments = CommandLineBytes::decode(3, argv, &error);
        if (!arguments) {
            const bool named = error.contains(QStringLiteral("argument 2")) &&
                               error.contains(QString::fromLatin1(c.outcome));
            results << c.name + (named ? " refused, named" : " refused: " + error.toUtf8());
        } else {
            QFile file(arguments->at(1));
            results << c.name + " opens " + (file.open(QIODevice::ReadOnly) ? file.readAll() : "");
        }
        expected << c.name + (qstrcmp(c.outcome, "opens") == 0 ? " opens " + c.name
                                                               : QByteArray(" refused, named"));
    }
    EXPECT_EQ(results, expected);
}
