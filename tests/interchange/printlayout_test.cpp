#include "core/document/database.h"
#include "core/platform/textmeasurer.h"
#include "interchange/print/printlayout.h"

#include <gtest/gtest.h>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

/// One millimetre (ten units) a character.
class FixedPitch : public TextMeasurer
{
public:
    int textWidth(const QString &text) const override { return 10 * int(text.size()); }
};

/// A database with the given column widths in pixels and records of texts.
void fill(Database &db, const std::vector<int> &widths,
          const std::vector<std::vector<const char *>> &rows)
{
    db.setName(s("Tiny"));
    db.grid().resize(int(widths.size()) + 1, int(rows.size()));
    for (size_t c = 0; c < widths.size(); ++c)
        db.grid().setColumnWidth(int(c) + 1, widths[c]);
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < rows[r].size(); ++c)
            db.grid().setCell(int(c) + 1, int(r), s(rows[r][c]));
    }
}

using F = PrintText::Font;

} // namespace

TEST(PrintLayout, laysOutEveryPageOfASmallTable)
{
    // Print widths: column 0 "0000_" = 50; fields 100, 200, 50 px = 290,
    // 580, 145 units. Page 1000 wide: band 1 holds field 1 (50 + 290 + 200
    // + 580 is not below 1000), band 2 fields 2 and 3 (50 + 580 + 200 + 145
    // = 975). Page 400 high: lines up to y 250. Record 2 is hidden.
    Database db;
    fill(db, {100, 200, 50},
         {{"Name", "City", "N"},
          {"Ann", "Paris", "1"},
          {"Hidden", "Nowhere", "2"},
          {"A very long name that goes on", "Rome", "1234567890123"},
          {"Bob", "Oslo\r\nNorway", ""}});
    db.grid().setRowHeight(2, 0);
    const FixedPitch measure;
    const PrintLayout layout(db, measure);
    const auto title = [](const char *label) {
        return std::vector<PrintText>{{200, 50, s("Tiny"), F::Title},
                                      {1500, 50, s(label), F::Title}};
    };
    const auto page = [&](int r, int c, int lastRow, const char *label,
                          std::vector<PrintText> texts) {
        std::vector<PrintText> all = title(label);
        all.insert(all.end(), texts.begin(), texts.end());
        return PrintPage{r, c, lastRow, all};
    };
    const std::vector<PrintPage> expected = {
        page(1, 1, 3, "Page 1.1",
             {{250, 150, s("Name")},
              {200, 200, s("0001")},
              {250, 200, s("Ann")},
              {200, 250, s("0003")},
              {250, 250, s("A very long name that goe..")}}),
        page(1, 2, 3, "Page 1.2",
             {{250, 150, s("City")},
              {830, 150, s("N")},
              {200, 200, s("0001")},
              {250, 200, s("Paris")},
              {830, 200, s("1")},
              {200, 250, s("0003")},
              {250, 250, s("Rome")},
              {830, 250, s("1234567890..")}}),
        page(2, 1, 4, "Page 2.1",
             {{250, 150, s("Name")}, {200, 200, s("0004")}, {250, 200, s("Bob")}}),
        page(2, 2, 4, "Page 2.2",
             {{250, 150, s("City")},
              {830, 150, s("N")},
              {200, 200, s("0004")},
              {250, 200, s("Oslo Norway")},
              {830, 200, s("")}}),
    };
    EXPECT_EQ(layout.pages({1000, 400}), expected);
}

TEST(PrintLayout, bandsFollowTheWidthsAndTheFilter)
{
    struct Case
    {
        const char *what;
        std::vector<int> widths;
        int records;
        std::vector<int> hidden;
        QStringList labels;
    };
    const Case cases[] = {
        {"all columns fit: row bands only",
         {50, 50},
         7,
         {},
         {s("Page 1.1"), s("Page 2.1"), s("Page 3.1")}},
        {"a column wider than the page has a band of its own",
         {50, 1000, 50},
         2,
         {},
         {s("Page 1.1"), s("Page 1.2"), s("Page 1.3")}},
        {"hidden records take no line", {50}, 7, {2, 3, 4, 5}, {s("Page 1.1")}},
        {"a hidden first record leaves its line empty",
         {50},
         7,
         {4},
         {s("Page 1.1"), s("Page 2.1")}},
        {"no records, no pages", {50}, 0, {}, {}},
        {"no fields, no pages", {}, 3, {}, {}},
    };
    for (const Case &c : cases) {
        Database db;
        std::vector<std::vector<const char *>> rows(size_t(c.records) + 1);
        fill(db, c.widths, rows);
        for (int r : c.hidden)
            db.grid().setRowHeight(r, 0);
        const FixedPitch measure;
        QStringList labels;
        // Lines at y 200, 250 and 300 (the page is full below 350).
        for (const PrintPage &p : PrintLayout(db, measure).pages({1000, 450}))
            labels << p.label();
        EXPECT_EQ(labels, c.labels) << c.what;
    }
}

TEST(PrintLayout, fitsTextsToTheirColumnLessTwoMillimetres)
{
    const FixedPitch measure;
    const struct
    {
        const char *text;
        int width;
        const char *fitted;
    } cases[] = {
        {"abc", 0, "abc"},
        {"abc", 50, "abc"},
        {"abcd", 50, "a.."},
        {"abcd", 40, ".."},
        {"abcd", 30, "."},
        {"abcd", 20, ""},
        {"abcd", 5, ""},
        {"", 20, ""},
        {"0123456789", 120, "0123456789"},
        {"0123456789x", 120, "01234567.."},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PrintLayout::fitText(s(c.text), c.width, measure), s(c.fitted))
            << c.text << " in " << c.width;
    const std::pair<int, int> heights[] = {{-11, -28}, {-13, -32}, {-9, -22}, {10, 25}, {-12, -30}};
    for (const auto &[screen, printed] : heights)
        EXPECT_EQ(PrintLayout::cellFontHeight(screen), printed) << screen;
}
