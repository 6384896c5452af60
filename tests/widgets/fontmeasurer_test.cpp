// Auto-size measures the texts the grid keeps as the file's bytes by a
// table of the code page's characters (and of the pairs of them that meet)
// instead of the font's metrics. The font's own metrics are the oracle:
// every distinct first line of the test databases, in the program font
// and others, measured both ways.

#include "core/format/codepage.h"
#include "largefiles.h"
#include "readfile.h"
#include "widgets/platform/qttextmeasurer.h"

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <map>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

/// Every distinct first line of the example database, of the largest
/// database of the benchmarks and of its field names, and every character
/// of the code page alone.
const QStringList &distinctTexts()
{
    static const QStringList texts = [] {
        QSet<QString> set;
        const auto add = [&set](const QString &text) {
            set.insert(text.section(QRegularExpression(s("[\\r\\n]")), 0, 0));
        };
        Database example;
        QFile f(s(QG_EXAMPLE_DATABASE));
        if (f.open(QIODevice::ReadOnly) && readFile(f.readAll(), example).ok) {
            for (int r = 0; r < example.grid().rowCount(); ++r) {
                for (int c = 1; c <= example.fieldCount(); ++c)
                    add(example.grid().cell(c, r));
            }
        }
        QRandomGenerator rng(20261208); // as bench/largefiles.cpp writes it
        for (int r = 0; r < LargeFiles::Records; ++r) {
            for (int k = 0; k < LargeFiles::Fields; ++k)
                add(Codepage::decode(LargeFiles::realisticText(rng, k)));
        }
        for (int k = 1; k <= LargeFiles::Fields; ++k)
            add(s("Field %1").arg(k));
        for (int b = 32; b < 256; ++b) {
            const char byte = char(b);
            add(Codepage::decode(&byte, 1));
        }
        QStringList list(set.begin(), set.end());
        list.sort();
        return list;
    }();
    return texts;
}

} // namespace

class FontMeasurerTest : public QObject
{
    Q_OBJECT

private slots:
    void storedBytesMeasureAsTheFontMetricsMeasureTheText_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<QString>("differences");
        // The program font by default; what the system gives for the name.
        QTest::newRow("MS Sans Serif 8") << s("MS Sans Serif") << 8 << false << false << QString();
        QTest::newRow("DejaVu Sans 12 bold")
            << s("DejaVu Sans") << 12 << true << false << QString();
        QTest::newRow("DejaVu Serif 10 italic")
            << s("DejaVu Serif") << 10 << false << true << QString();
    }

    void storedBytesMeasureAsTheFontMetricsMeasureTheText()
    {
        QFETCH(QString, family);
        QFETCH(int, points);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(QString, differences);
        QFont font(family, points);
        font.setBold(bold);
        font.setItalic(italic);
        const QtTextMeasurer measurer(font);
        const QFontMetrics metrics(font);
        const QStringList &texts = distinctTexts();
        QVERIFY(texts.size() > 100000);
        // Each text the table measures otherwise: "text: table - metrics".
        QStringList found;
        for (const QString &text : texts) {
            const QByteArray bytes = Codepage::encode(text);
            const int difference = measurer.storedWidth(bytes.constData(), bytes.size()) -
                                   metrics.horizontalAdvance(text);
            if (difference != 0)
                found << s("%1: %2").arg(text).arg(difference);
        }
        QCOMPARE(found.join(s("; ")), differences);
    }
};

QTEST_MAIN(FontMeasurerTest)
#include "fontmeasurer_test.moc"
