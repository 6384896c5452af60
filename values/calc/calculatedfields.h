#pragma once

#include <QString>

class Clock;
class Database;
class LocaleService;
class UserFeedback;

/**
 * The values the program computes into cells: calculated fields, the stamps
 * of creation and modification, defaults and auto-increment numbers of new
 * records, and the column sum.
 *
 * Works on the one Database it is given, through the grid's setters, so the
 * grid's views hear of every change. Rows and columns are grid positions:
 * records are rows 1..n, fields columns 1..f. Nothing here reports an error:
 * a value that cannot be computed shows as "???" (or "INF" for a division
 * by zero).
 */
class CalculatedFields
{
public:
    CalculatedFields(Database &db, LocaleService &locale, Clock &clock, UserFeedback &feedback);

    /// The text of calculated field @p column for record @p row.
    QString EvaluateCalcField(int column, int row) const;
    /// Restamps the modification fields of record @p row and recomputes its
    /// calculated fields, left to right and then right to left, so that each
    /// may use one on either side of it.
    void RecalculateRow(int row);
    /// Fills a record row that was just inserted or appended.
    void InitialiseRecord(int row);
    /// Recomputes every calculated cell; stamps stay as they are.
    void RecalculateAll();
    /// The Column sum command on the current cell: the sum of the numbers
    /// above it in visible records, when there is one, written into it.
    void ColumnSum(int column, int row);

private:
    void setCell(int column, int row, const QString &text);

    Database &mDb;
    LocaleService &mLocale;
    Clock &mClock;
    UserFeedback &mFeedback;
};
