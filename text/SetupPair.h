#pragma once
// A language as setup shows it comes from two pairs of files in the same
// numbering. The game's table ("Languages\<Language>.sif/.poo" on the
// medium, "language.sif/.poo" in the installation) gives the dialog's and
// the folder picker's texts, the only ones setup reads from it: a game may
// keep its own texts at any other index. Setup's own pair
// ("Languages\Setup\<Language>.sif/.poo", which only langtool writes, and
// "setup.sif/.poo" beside the uninstaller) gives every message of setup and
// its uninstaller, the catalogue's MESSAGE_TEXTS. Its record 0 holds
// kSetupPairMarker, so that a game's table copied there is never taken for
// it, and record 1 the reading direction. Without a marked pair every
// message is the English.

#include <stdint.h>

#include "text/LanguageTable.h"
#include "text/TextCatalogue.h"

namespace text {
// The folder of the setup pairs inside the medium's language folder.
inline constexpr char kSetupPairFolder[] = "Setup";
inline constexpr char kSetupPairMarker[] = "The Vellmor setup texts";
// Record 2 names the pair's code page ("1255") for tools that read the
// pair back; setup itself reads its system's.
enum { kSetupMarkerRecord = 0, kSetupDirectionRecord = 1, kSetupCodePageRecord = 2 };
// The texts of the direction record.
inline constexpr char kLeftToRight[] = "ltr";
inline constexpr char kRightToLeft[] = "rtl";
} // namespace text

// Both pairs of one language.
class LanguageTexts {
  public:
    // Reads gameBase's table and setupBase's pair, each without extension;
    // a null base, or a setup pair without its marker, leaves that part
    // without texts.
    void Load(const char* gameBase, const char* setupBase);
    void Clear();

    // The table that holds `index`: the setup pair for setup's own texts,
    // else the game's.
    CLanguageTable& TableOf(int index) { return InSetupPair(index) ? m_setup : m_game; }
    CLanguageTable& Game() { return m_game; }
    // Whether the setup pair says the language reads right to left.
    bool RightToLeft() const { return m_rightToLeft; }

  private:
    void LoadSetupPair(const char* setupBase);

    CLanguageTable m_game;
    CLanguageTable m_setup;
    bool m_rightToLeft = false;
};
