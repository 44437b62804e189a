#include "common/InUseQuestion.h"

#include "platform/Layout.h"
#include "text/LocalText.h"

bool AskRetryWhileInUse(HWND owner, LanguageTexts& texts, const char* folder,
                        const InUseList& found) {
    LocalText caption(texts, kText<TXT_IN_USE_CAPTION>);
    LocalText text(texts, kText<TXT_IN_USE>, folder, found.what);
    return ::MessageBoxA(owner, text, caption,
                         ReadingStyle(MB_RETRYCANCEL | MB_ICONEXCLAMATION, texts.RightToLeft())) ==
           IDRETRY;
}
