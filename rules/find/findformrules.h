#pragma once

#include "table/find/findsearch.h"

#include <QString>
#include <QStringList>

#include <functional>

class Database;
class Document;
class FilterEngine;
class MessageService;
class Progress;
class UserFeedback;

/**
 * The rules of the Find dialog (`TFindForm`) and of the Find and Find next
 * commands. The dialog's controls keep their values between showings and
 * Find next reads them also while the dialog is closed, so they are kept
 * here.
 *
 * A match becomes the current cell through the function given; a match in
 * a hidden record switches the filter off first, since a hidden record is
 * never current. A search shows the busy cursor at once and reports its
 * progress; one the user cancels changes nothing and says nothing.
 */
class FindFormRules
{
public:
    /// The controls: `C_FindFields` (0 "All Fields", k field k), `E_Find`,
    /// `CB_FmbwS` and `CB_FindFromStart`.
    struct Controls
    {
        int fieldIndex = 0;
        QString text;
        bool mustBegin = false;
        bool fromStart = true;
    };

    FindFormRules(Document &doc, FilterEngine &filter, MessageService &messages,
                  UserFeedback &feedback, Progress &progress, std::function<int()> currentRow,
                  std::function<void(int, int)> makeCurrent);

    /// "All Fields" and the names of the fields in column order.
    static QStringList fieldChoices(const Database &db);
    /// What the progress of a search says: @p doing and the find text,
    /// quoted, a long one cut short.
    static QString progressLabel(const QString &doing, const QString &text);

    /// The Find command: find-active cleared; the controls as the dialog
    /// shows them (the stored find field and text, "Find from the start"
    /// checked).
    Controls showFind();
    /// `B_Find`: the field and text become the database's find settings,
    /// then the search runs (the dialog has closed).
    void find(const Controls &controls);
    /// `B_Close`: find-active cleared.
    void close() { mSearch.clear(); }
    /// The Find next command: goes on from the last match and returns
    /// false; true when there is none, and the Find dialog must show.
    bool findNext();

    const Controls &controls() const { return mControls; }
    bool isActive() const { return mSearch.isActive(); }

private:
    void search();

    Document &mDoc;
    FilterEngine &mFilter;
    MessageService &mMessages;
    UserFeedback &mFeedback;
    Progress &mProgress;
    std::function<int()> mCurrentRow;
    std::function<void(int, int)> mMakeCurrent;
    FindSearch mSearch;
    Controls mControls;
};
