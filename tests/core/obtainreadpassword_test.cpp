#include "core/crypto/obtainreadpassword.h"

#include "core/crypto/cipherstate.h"
#include "pdbbuilder.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kRight = QStringLiteral("right password");

PdbBuilder secretFile()
{
    PdbBuilder b = PdbBuilder::withFields(3);
    b.flags = 0x0002;
    b.password = kRight.toLatin1();
    b.fields[1].typeCode = 0x02;
    b.records = {{"one", "1", "x"}, {"two", "0", "y"}};
    return b;
}

constexpr int kAppInfo = 78 + 2 * 8 + 2; // two records

struct Attempt
{
    std::optional<QString> password;
    ScriptedMessages messages;
    int asked = 0;
};

/// Runs the password loop over @p file with the scripted @p answers.
void obtain(const QByteArray &file, std::deque<QString> answers, Attempt &out)
{
    QByteArray data = file;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    ScriptedPasswords passwords;
    passwords.answers = std::move(answers);
    CipherState cipher;
    out.password = ObtainReadPassword(buffer, kAppInfo, passwords, out.messages, cipher);
    out.asked = passwords.asked;
}

bool isWrongPasswordMessage(const Message &m)
{
    return m.caption == QStringLiteral("Password Error") && m.icon == MessageIcon::Error &&
           m.lines == QStringList({QStringLiteral("Incorrect Password given."),
                                   QStringLiteral("Please re-enter")});
}

// A wrong password that deciphers the marker right. Found by deciphering the
// 8-byte block at offset 1152 of secretFile()'s application-info block with
// the keys of "wrong 0", "wrong 1", ... in turn until its first word read
// 0x0240: the 81,862nd candidate, after 3.8 s, too long to search each run.
// Its field count word reads 30339. The test checks that it still collides.
const QString kMarkerCollision = QStringLiteral("wrong 81861");

} // namespace

TEST(ObtainReadPassword, theRightPasswordMustGiveAFieldTableTheReaderTakes)
{
    const struct
    {
        const char *what;
        std::function<void(PdbBuilder &)> change;
        bool accepted;
    } cases[] = {
        {"as built", [](PdbBuilder &) {}, true},
        {"50 fields", [](PdbBuilder &b) { b.fieldCountOverride = 50; }, true},
        {"widths of 300 either way",
         [](PdbBuilder &b) {
             b.fields[0].width = 300;
             b.fields[2].width = -300;
         },
         true},
        {"an unknown code beyond the field count",
         [](PdbBuilder &b) {
             b.patchFixedPart = [](QByteArray &lo) { lo[1050 + 2 * 3 + 1] = 0x7E; };
         },
         true},
        {"0 fields", [](PdbBuilder &b) { b.fieldCountOverride = 0; }, false},
        {"51 fields", [](PdbBuilder &b) { b.fieldCountOverride = 51; }, false},
        // The reader asks about a type it does not know; the password is right.
        {"an unknown code in the last field", [](PdbBuilder &b) { b.fields[2].typeCode = 0x7E; },
         true},
        {"width 301", [](PdbBuilder &b) { b.fields[1].width = 301; }, false},
        {"width -301", [](PdbBuilder &b) { b.fields[1].width = -301; }, false},
    };
    for (const auto &c : cases) {
        PdbBuilder b = secretFile();
        c.change(b);
        Attempt a;
        obtain(b.build(), {kRight}, a);
        // A refused one is taken for a wrong password: reported, asked
        // again, cancelled.
        EXPECT_EQ(a.password, c.accepted ? std::optional<QString>(kRight) : std::nullopt) << c.what;
        EXPECT_EQ(a.asked, c.accepted ? 1 : 2) << c.what;
        EXPECT_EQ(a.messages.shown.size(), c.accepted ? 0u : 1u) << c.what;
        if (!c.accepted && !a.messages.shown.empty()) {
            EXPECT_TRUE(isWrongPasswordMessage(a.messages.shown[0])) << c.what;
        }
    }
}

TEST(ObtainReadPassword, aWrongPasswordThatHitsTheMarkerIsStillWrong)
{
    const QByteArray file = secretFile().build();
    // The premise: this wrong password deciphers the marker right.
    CipherState cipher;
    cipher.SetCipherKey(kMarkerCollision);
    QByteArray block = file.mid(kAppInfo + 1152, 8);
    cipher.DecipherBuffer(block.data(), block.size());
    ASSERT_EQ(block.left(2), QByteArray("\x02\x40", 2));

    Attempt a;
    obtain(file, {kMarkerCollision, kRight}, a);
    EXPECT_EQ(a.password, std::optional<QString>(kRight));
    EXPECT_EQ(a.asked, 2);
    ASSERT_EQ(a.messages.shown.size(), 1u);
    EXPECT_TRUE(isWrongPasswordMessage(a.messages.shown[0]));
}
