#pragma once

#include "table/find/replacestep.h"

#include <QString>

#include <functional>
#include <optional>

class CalculatedFields;
class Document;
class FilterEngine;
class LocaleService;
class Progress;
class UserFeedback;

/**
 * The rules of the Replace dialog (`TReplaceForm`): its controls, which
 * keep their values between showings, and what its buttons do.
 *
 * A match becomes the current cell through the function given; a match in
 * a hidden record switches the filter off first. In a read-only database
 * only "&Find Next" can be used: "&Replace" and "Replace &All" would
 * change it. Every button may search the whole table: each shows the busy
 * cursor at once and reports its progress, which the user may cancel;
 * a cancelled press changes nothing and leaves the dialog open.
 */
class ReplaceFormRules
{
public:
    /// `C_FindFields` (0 "All Fields", k field k), `E_Find`, `E_Replace`,
    /// `CB_BeginWithString`, `CB_MatchCase`.
    struct Controls
    {
        int fieldIndex = 0;
        QString findText;
        QString replaceText;
        bool mustBegin = false;
        bool matchCase = false;
    };

    /// What a button press leaves to the dialog.
    struct Result
    {
        bool closeDialog = false;
        /// To show once the dialog has closed, or over it when it stays:
        /// nothing found, or replacements skipped.
        std::optional<Message> message;
        /// What Replace All did, for the status bar (ClosingWord).
        QString closingWord;
    };

    ReplaceFormRules(Document &doc, const LocaleService &locale, FilterEngine &filter,
                     UserFeedback &feedback, Progress &progress,
                     std::function<void(int, int)> makeCurrent,
                     const CalculatedFields *calc = nullptr);

    /// The Replace command: nothing found yet; the controls to show, the
    /// field kept when the database still has it.
    Controls show();
    /// Whether "&Replace" and "Replace &All" may be used.
    bool canReplace() const;
    /// `B_FindNext`, `B_Replace` or `B_ReplaceAll`.
    Result press(ReplaceStep::Mode mode, const Controls &controls);

    const Controls &controls() const { return mControls; }

private:
    Document &mDoc;
    FilterEngine &mFilter;
    UserFeedback &mFeedback;
    Progress &mProgress;
    std::function<void(int, int)> mMakeCurrent;
    ReplaceStep mStep;
    Controls mControls;
};
