#include "interchange/hotsync/usersdat.h"

#include "core/format/codepage.h"

namespace {

constexpr qsizetype FirstRecord = 13;

/// Reads forward through the bytes; every read past the end fails.
class Cursor
{
public:
    explicit Cursor(const QByteArray &bytes) : mBytes(bytes) {}

    qsizetype position() const { return mPos; }
    void seek(qsizetype position) { mPos = position; }

    std::optional<quint8> byte()
    {
        if (mPos >= mBytes.size())
            return std::nullopt;
        return quint8(mBytes[mPos++]);
    }

    std::optional<QString> text(qsizetype length)
    {
        if (length > mBytes.size() - mPos)
            return std::nullopt;
        const QString t = Codepage::decode(mBytes.constData() + mPos, length);
        mPos += length;
        return t.left(UsersDat::MaxNameChars);
    }

private:
    const QByteArray &mBytes;
    qsizetype mPos = 0;
};

std::optional<SyncUser> readRecord(Cursor &in)
{
    SyncUser user;
    const qsizetype start = in.position();
    const auto low = in.byte();
    const auto high = in.byte();
    if (!low || !high)
        return std::nullopt;
    user.id = quint16(*low | (*high << 8));
    in.seek(start + 4);
    const auto nameLength = in.byte();
    const auto name = nameLength ? in.text(*nameLength) : std::nullopt;
    const auto folderLength = name ? in.byte() : std::nullopt;
    const auto folder = folderLength ? in.text(*folderLength) : std::nullopt;
    if (!folder || !in.byte())
        return std::nullopt;
    user.name = *name;
    user.folder = *folder;
    return user;
}

/// Moves past the next 0x01 0x80; false when the bytes end first. The byte
/// after a 0x01 is not itself taken as a possible 0x01.
bool skipGap(Cursor &in)
{
    while (const auto b = in.byte()) {
        if (*b != 0x01)
            continue;
        const auto next = in.byte();
        if (!next)
            return false;
        if (*next == 0x80)
            return true;
    }
    return false;
}

} // namespace

UsersDat::UserList UsersDat::read(const QByteArray &bytes, const QString &lastUserName)
{
    UserList list;
    Cursor in(bytes);
    const auto count = in.byte();
    if (!count)
        return list;
    in.seek(FirstRecord);
    for (int i = 0; i < *count; ++i) {
        const std::optional<SyncUser> user = readRecord(in);
        if (!user)
            break;
        list.users.push_back(*user);
        if (user->name == lastUserName)
            list.lastUserIndex = i;
        if (i + 1 < *count && !skipGap(in))
            break;
    }
    return list;
}
