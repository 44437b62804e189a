#include "text/SetupPair.h"

#include <string.h>

#include "text/HeapBlock.h"

namespace {

// Whether record `index` of `table` holds exactly `expected`.
bool Holds(CLanguageTable& table, int index, const char* expected) {
    CHeapBlock<char> text(table.GetString(index));
    return text && strcmp(text.Get(), expected) == 0;
}

} // namespace

void LanguageTexts::Clear() {
    m_game.Clear();
    m_setup.Clear();
    m_rightToLeft = false;
}

void LanguageTexts::Load(const char* gameBase, const char* setupBase) {
    Clear();
    if (gameBase)
        m_game.Load(gameBase);
    if (setupBase)
        LoadSetupPair(setupBase);
}

void LanguageTexts::LoadSetupPair(const char* setupBase) {
    m_setup.Load(setupBase);
    if (!Holds(m_setup, text::kSetupMarkerRecord, text::kSetupPairMarker)) {
        m_setup.Clear();
        return;
    }
    m_rightToLeft = Holds(m_setup, text::kSetupDirectionRecord, text::kRightToLeft);
}
