#include "core/crypto/cryptformrules.h"

#include <gtest/gtest.h>

using Mode = CryptFormRules::Mode;

TEST(CryptFormRules, textsOfTheTwoModes)
{
    CryptFormRules open(Mode::Decryption);
    EXPECT_EQ(open.caption(), QStringLiteral("Decryption Password"));
    EXPECT_EQ(open.firstLabel(), QStringLiteral("Enter the password to use this database."));
    EXPECT_FALSE(open.showsRepeat());
    CryptFormRules encrypt(Mode::Encryption);
    EXPECT_EQ(encrypt.caption(), QStringLiteral("Encryption Password"));
    EXPECT_EQ(encrypt.firstLabel(), QStringLiteral("Enter the password to encrypt this database."));
    EXPECT_TRUE(encrypt.showsRepeat());
    EXPECT_EQ(CryptFormRules::hintLabel(),
              QStringLiteral("(6 alphanumerical characters minimum, case-sensitive)"));
    EXPECT_EQ(CryptFormRules::repeatLabel(), QStringLiteral("Repeat Password:"));
    EXPECT_EQ(CryptFormRules::passwordLabel(), QStringLiteral("Password:"));
}

TEST(CryptFormRules, sixCharactersInBothModes)
{
    for (Mode mode : {Mode::Decryption, Mode::Encryption}) {
        const CryptFormRules rules(mode);
        const auto refused = rules.ok(QStringLiteral("abcde"), QStringLiteral("abcde"));
        EXPECT_FALSE(refused.accepted);
        EXPECT_EQ(refused.error.caption, QStringLiteral("Password Error"));
        EXPECT_EQ(refused.error.icon, MessageIcon::Error);
        EXPECT_EQ(refused.error.lines,
                  QStringList({"Passwords must be a minimum of 6 characters in length.",
                               "Please re-enter."}));
        // Only the length counts: any characters go.
        const auto accepted = rules.ok(QStringLiteral(" !#$%&"), QStringLiteral(" !#$%&"));
        EXPECT_TRUE(accepted.accepted);
        EXPECT_EQ(accepted.password, QStringLiteral(" !#$%&"));
    }
}

TEST(CryptFormRules, mismatchIsReportedBeforeTheLength)
{
    const CryptFormRules rules(Mode::Encryption);
    auto outcome = rules.ok(QStringLiteral("secret1"), QStringLiteral("secret2"));
    EXPECT_FALSE(outcome.accepted);
    EXPECT_EQ(outcome.error.lines, QStringList({"Passwords don't match.", "Please re-enter."}));
    outcome = rules.ok(QStringLiteral("abc"), QStringLiteral("abd"));
    EXPECT_EQ(outcome.error.lines[0], QStringLiteral("Passwords don't match."));
    // Decryption mode has no second entry.
    EXPECT_TRUE(CryptFormRules(Mode::Decryption).ok(QStringLiteral("secret1"), QString()).accepted);
}

TEST(CryptFormRules, encryptionRefusesCharactersWithoutAByte)
{
    const QString greek = QString::fromUtf8("κωδικός");
    const CryptFormRules rules(Mode::Encryption);
    const auto outcome = rules.ok(greek, greek);
    EXPECT_FALSE(outcome.accepted);
    EXPECT_EQ(outcome.error.caption, QStringLiteral("Password Error"));
    // Western letters are fine; the reading side takes whatever is typed.
    EXPECT_TRUE(rules.ok(QString::fromUtf8("pässwörd"), QString::fromUtf8("pässwörd")).accepted);
    EXPECT_TRUE(CryptFormRules(Mode::Decryption).ok(greek, QString()).accepted);
    EXPECT_TRUE(CryptFormRules::cancel().isEmpty());
}
