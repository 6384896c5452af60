#pragma once

#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/format/databasereader.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"

#include <QBuffer>

/// Reads @p bytes into @p db; the password, if any, is offered once.
inline ReadResult readFile(const QByteArray &bytes, Database &db, const QString &password = {},
                           ScriptedMessages *messages = nullptr)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    ScriptedMessages ownMessages;
    ScriptedPasswords passwords;
    if (!password.isEmpty())
        passwords.answers = {password};
    CipherState cipher;
    return DatabaseReader(messages ? *messages : ownMessages, passwords, cipher)
        .read(buffer, QStringLiteral("/data/file.pdb"), db);
}
