// An edited text back to bytes without touching what the pilot did not change. cp932 has
// several codes for some characters (NEC-selected and IBM-extension kanji, Roman numerals,
// ¬ and ∵ among them), which decode to one Unicode character; encoding a whole field again
// would write one chosen code for all of them. Depends on QtCore only.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

namespace cp932 {

/// The bytes of `edited`, a text the pilot made from toUnicode(`original`): the characters
/// before and after the part that changed (the longest common prefix and suffix, by
/// character) keep their bytes from `original`; only the changed middle is encoded
/// (fromUnicode). The result decodes to `edited`. Two edits far apart in one text count as
/// one change spanning both.
QByteArray encodeEdited(QByteArrayView original, QStringView edited);

} // namespace cp932
