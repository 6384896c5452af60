#pragma once

#include "interchange/text/textcodec.h"

#include <QString>

#include <optional>
#include <vector>

class Progress;
class QIODevice;

/**
 * A delimited text file as import and append read it: its characters, cut
 * into lines, and what the counting pass found.
 *
 * Lines: a Ctrl-Z (26) ends the file. In a file that holds a CR, a line
 * ends at a CR and a LF right after it goes with it; any other LF stays in
 * the line. In a file without any CR (lines ending in LF alone, as most
 * programs outside Windows write them), a LF outside a quoted text ends a
 * line and one inside stays in the text. A line end at the very end of the
 * file starts no further line.
 *
 * Fields: a double quote at the start of a field opens a quoted text, in
 * which separators and line breaks are text, two double quotes stand for
 * one, and a lone double quote closes it (what follows up to the separator
 * is added as it is). A double quote anywhere else is an ordinary
 * character. A line that ends inside a quoted text loses that last field.
 */
class DelimitedText
{
public:
    /// What the counting pass finds.
    struct Count
    {
        qsizetype lines = 0;
        int maxSeparators = -1; ///< the most separators in one line; -1 without lines
        bool irregular = false; ///< lines differ in separators, or one ends inside quotes
        bool operator==(const Count &) const = default;
    };

    DelimitedText(QString text, QChar separator);

    /// Reads @p device whole, decodes it and counts its lines. Nothing when
    /// the device cannot be read or @p progress was cancelled (@p cancelled
    /// then says which). Progress goes from 0 to 500 permille.
    static std::optional<DelimitedText> load(QIODevice &device, QChar separator,
                                             TextEncoding encoding, Progress &progress,
                                             bool *cancelled);

    const std::vector<QStringView> &lines() const { return mLines; }
    QChar separator() const { return mSeparator; }
    const Count &count() const { return mCount; }

    /// Whether the file asks the format question: irregular, fewer than two
    /// fields, fewer than two lines, more than 52 separators in a line or
    /// more than 32001 lines.
    bool formatQuestionNeeded() const;

    /// The fields of @p line, as import and append store them.
    static void split(QStringView line, QChar separator, std::vector<QString> &fields);
    /// The separators of @p line outside quoted texts; whether it ends
    /// inside one goes to @p endsQuoted.
    static int countSeparators(QStringView line, QChar separator, bool *endsQuoted);

private:
    void cutLines();
    void countLines();

    QString mText;
    QChar mSeparator;
    std::vector<QStringView> mLines;
    Count mCount;
};
