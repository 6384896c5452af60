#pragma once

#include "core/document/document.h"

/// The tests' way to lay out a document's database before the code under
/// test works on it.
struct DocumentAccess
{
    static Database &database(Document &doc) { return doc.mDb; }
};
