#include "core/platform/qt/commandlinebytes.h"

#include <QFile>

namespace CommandLineBytes {

QString escaped(const QByteArray &bytes)
{
    QString out;
    for (const char c : bytes) {
        const auto b = uchar(c);
        if (b >= 0x20 && b < 0x7f && b != '\\')
            out += QLatin1Char(c);
        else
            out += QStringLiteral("\\x%1").arg(b, 2, 16, QLatin1Char('0'));
    }
    return out;
}

std::optional<QStringList> decode(int argc, const char *const *argv, QString *error)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        QString argument = QFile::decodeName(bytes);
        if (QFile::encodeName(argument) != bytes) {
            *error = QStringLiteral("argument %1 (\"%2\") is not valid UTF-8, so it cannot name "
                                    "a file exactly; nothing was read or written")
                         .arg(i)
                         .arg(escaped(bytes));
            return std::nullopt;
        }
        arguments << std::move(argument);
    }
    return arguments;
}

} // namespace CommandLineBytes
