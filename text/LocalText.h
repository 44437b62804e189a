#pragma once
// The texts setup shows in the user's language: a table's translation of a
// catalogue text, or its English, with the inserts that "%1" and "%2" mark.
// The language's two pairs (text/SetupPair.h) each answer for their texts.

#include <stddef.h>

#include "text/LanguageTable.h"
#include "text/SetupPair.h"
#include "text/TextCatalogue.h"

namespace text {
// The longest message setup shows, its NUL included; a longer one is cut.
enum { kMessageSize = 1024 };
} // namespace text

// Writes `text` into `buffer` (size > 0) with each "%1" to "%9" replaced by
// inserts[0] to inserts[8]; a '%' before anything else, or before a number
// beyond `count`, stays as it is, and inserts are not searched again.
// Always NUL-terminated; false when the result was cut to fit.
bool FormatInserts(char* buffer, size_t size, const char* text, const char* const* inserts,
                   size_t count);

// The text of `ref.index` that `table` holds, or `ref.english` when it holds
// none or an empty one, written into `buffer` with its inserts
// (FormatInserts). Returns `buffer`.
const char* LookUpText(CLanguageTable& table, TextRef ref, char* buffer, size_t size,
                       const char* const* inserts, size_t count);
// The same from the one of `texts`'s pairs that holds `ref.index`.
const char* LookUpText(LanguageTexts& texts, TextRef ref, char* buffer, size_t size,
                       const char* const* inserts, size_t count);

// A text looked up into a buffer of its own, for the call it is shown by:
//   MessageBox(LocalText(texts, kText<TXT_COPY_FAILED>), ...)
class LocalText {
  public:
    LocalText(LanguageTexts& texts, TextRef ref, const char* insert1 = nullptr,
              const char* insert2 = nullptr);
    // From one table, without inserts.
    LocalText(CLanguageTable& table, TextRef ref);
    operator const char*() const { return m_text; }

  private:
    char m_text[text::kMessageSize];
};
