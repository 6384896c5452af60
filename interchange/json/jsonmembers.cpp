#include "interchange/json/jsonmembers.h"

#include "interchange/json/jsonreader.h"

JsonMembers::JsonMembers(JsonReader &in, std::initializer_list<const char *> keys)
    : mIn(in), mKeys(keys)
{
    Q_ASSERT(mKeys.size() <= 32);
}

int JsonMembers::next()
{
    QByteArray key;
    if (!mIn.nextMember(key))
        return -1;
    for (size_t i = 0; i < mKeys.size(); ++i) {
        if (key != mKeys[i])
            continue;
        if (seen(int(i))) {
            mIn.fail(QStringLiteral("the key is given twice"));
            return -1;
        }
        mSeen |= 1u << i;
        return int(i);
    }
    mIn.fail(QStringLiteral("unknown key"));
    return -1;
}
