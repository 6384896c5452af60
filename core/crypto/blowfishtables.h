#pragma once

#include <QtGlobal>

/// The Blowfish P-array before a key is scheduled: the first 18 words of the
/// fractional hexadecimal digits of pi.
extern const quint32 kBlowfishP[18];

/// The four Blowfish S-boxes before a key is scheduled: the next 4 x 256 words
/// of the digits of pi, box by box.
extern const quint32 kBlowfishS[4][256];
