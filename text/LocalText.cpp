#include "text/LocalText.h"

#include <stdlib.h>

#include "text/CodePage.h"
#include "text/HeapBlock.h"

bool FormatInserts(char* buffer, size_t size, const char* text, const char* const* inserts,
                   size_t count) {
    if (size == 0)
        return false;
    size_t used = 0;
    const char* from = text;      // the text, or the insert being copied
    const char* resume = nullptr; // the text after that insert's placeholder
    for (;;) {
        char c = *from;
        if (c == '\0' && !resume)
            break;
        if (c == '\0') {
            from = resume;
            resume = nullptr;
            continue;
        }
        size_t number = (size_t)(unsigned char)from[1] - '0';
        if (!resume && c == '%' && number >= 1 && number <= 9 && number <= count &&
            inserts[number - 1]) {
            resume = from + 2;
            from = inserts[number - 1];
            continue;
        }
        if (used == size - 1) {
            buffer[WholeCharsLength(buffer, used)] = '\0';
            return false;
        }
        buffer[used++] = c;
        ++from;
    }
    buffer[used] = '\0';
    return true;
}

LocalText::LocalText(LanguageTexts& texts, TextRef ref, const char* insert1, const char* insert2) {
    const char* inserts[] = {insert1, insert2};
    LookUpText(texts, ref, m_text, sizeof m_text, inserts, 2);
}

LocalText::LocalText(CLanguageTable& table, TextRef ref) {
    LookUpText(table, ref, m_text, sizeof m_text, nullptr, 0);
}

const char* LookUpText(CLanguageTable& table, TextRef ref, char* buffer, size_t size,
                       const char* const* inserts, size_t count) {
    CHeapBlock<char> translation(table.GetString(ref.index));
    bool given = translation && translation[0] != '\0';
    const char* english = ref.english ? ref.english : "";
    FormatInserts(buffer, size, given ? translation.Get() : english, inserts, count);
    return buffer;
}

const char* LookUpText(LanguageTexts& texts, TextRef ref, char* buffer, size_t size,
                       const char* const* inserts, size_t count) {
    return LookUpText(texts.TableOf(ref.index), ref, buffer, size, inserts, count);
}
