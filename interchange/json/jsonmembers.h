#pragma once

#include <QByteArray>

#include <initializer_list>
#include <vector>

class JsonReader;

/**
 * The members of one JSON object as a reader that knows its keys takes
 * them: each key one of those known, and given at most once; anything else
 * is the reader's fault at that key.
 */
class JsonMembers
{
public:
    /// For the object @p in has just entered, whose keys are @p keys.
    JsonMembers(JsonReader &in, std::initializer_list<const char *> keys);

    /// The index among the keys of the next member's key; -1 at the
    /// object's end (which is left) or on a fault.
    int next();
    /// Whether the key of index @p i was given.
    bool seen(int i) const { return mSeen & (1u << i); }

private:
    JsonReader &mIn;
    std::vector<const char *> mKeys;
    quint32 mSeen = 0;
};
