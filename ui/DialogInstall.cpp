// The installation with its messages in message boxes owned by a window,
// in that window's language: the dialog's Install and the elevated copy of
// setup that the dialog starts (whose boxes the dialog owns) both run it.

#include "ui/DialogInstall.h"

#include "common/InUseQuestion.h"
#include "install/SourceMedium.h"
#include "install/SpaceRules.h"
#include "platform/Layout.h"
#include "platform/WaitCursor.h"
#include "text/LocalText.h"

namespace {

int ShowMessage(const CWnd& owner, LanguageTexts& texts, const InstallMessage& message) {
    LocalText caption(texts, message.caption);
    return owner.MessageBox(LocalText(texts, message.text),
                            message.caption.english ? (const char*)caption : nullptr,
                            ReadingStyle(message.style, texts.RightToLeft()));
}

// The installation as the user at the dialog sees it: message boxes in the
// dialog's language.
class DialogReport : public InstallReport {
  public:
    DialogReport(const CWnd& dialog, LanguageTexts& texts) : m_dialog(dialog), m_texts(texts) {}

    void StepRan(const char*, const InstallMessage*, DWORD) override {}
    void Tell(const InstallMessage& failure) override { ShowMessage(m_dialog, m_texts, failure); }
    void RefuseLink(const InstallMessage& refusal, const char* link) override {
        m_dialog.MessageBox(LocalText(m_texts, refusal.text, link),
                            LocalText(m_texts, refusal.caption), refusal.style);
    }
    // The estimate may be wrong (compression, quotas): the user decides,
    // No the default.
    bool GoOnWithoutSpace(uint64_t needed, uint64_t available) override {
        char neededMb[16], availableMb[16];
        FormatText(neededMb, sizeof neededMb, "%lu", (unsigned long)MegabytesNeeded(needed));
        FormatText(availableMb, sizeof availableMb, "%lu", (unsigned long)MegabytesFree(available));
        return m_dialog.MessageBox(
                   LocalText(m_texts, kText<TXT_NO_ROOM_QUESTION>, neededMb, availableMb),
                   LocalText(m_texts, kText<TXT_NO_ROOM_CAPTION>),
                   ReadingStyle(MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2,
                                m_texts.RightToLeft())) == IDYES;
    }

    bool RetryWhileInUse(const char* folder, const InUseList& found) override {
        return AskRetryWhileInUse(m_dialog, m_texts, folder, found);
    }

  private:
    const CWnd& m_dialog;
    LanguageTexts& m_texts;
};

} // namespace

void TellNoMedium(const CWnd& owner, LanguageTexts& texts) {
    ShowMessage(owner, texts, kNoMedium);
}

SetupExit InstallWithMessages(const CWnd& owner, LanguageTexts& texts, const char* sourceRoot,
                              const char* typed, const char* language, bool glideDriverPresent,
                              PathBuffer& installDir) {
    CWaitCursor wait;
    LocalText copyTitle(texts, kText<TXT_COPY_TITLE>);
    InstallRequest request = {typed, language, glideDriverPresent, owner, copyTitle};
    DialogReport report(owner, texts);
    return RunInstallation(request, sourceRoot, report, installDir);
}
