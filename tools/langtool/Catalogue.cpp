#include "Catalogue.h"

#include <vector>

#include "CodePage.h"

namespace langtool {

namespace {

// Indexes setup never reads past this many are counted, not listed.
const int kListedUnread = 20;

// The lower-case form of a letter of the scripts Windows' ANSI code pages
// hold (Latin, Greek, Cyrillic), so that "&D" and "&d" count as one key.
unsigned FoldCase(unsigned c) {
    bool latin = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    bool greek = c >= 0x391 && c <= 0x3AB;
    if (latin || greek || (c >= 0x410 && c <= 0x42F)) {
        return c + 0x20;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c >= 0x100 && c <= 0x17F && (c % 2 == 1) == oddUpper) {
        return c + 1;
    }
    return c;
}

// The accelerator keys a button's text marks with '&' ("&&" is a plain
// '&'), folded to lower case; 0 for a '&' at the end.
void Accelerators(const std::string& bytes, unsigned codePage, std::vector<unsigned>* keys) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '&') {
            continue;
        }
        if (i + 1 < bytes.size() && bytes[i + 1] == '&') {
            ++i;
            continue;
        }
        std::string utf8;
        CodePageToUtf8(codePage, bytes.substr(i + 1, 1), &utf8);
        keys->push_back(utf8.empty() ? 0 : FoldCase(FirstCodePoint(utf8)));
    }
}

void CheckAccelerators(const TableTexts& texts, unsigned codePage, CReport& report) {
    std::map<std::pair<int, unsigned>, const CatalogueText*> owners; // by group and key
    for (const CatalogueText& wanted : kTextCatalogue) {
        auto found = texts.find(wanted.index);
        if (wanted.accelerators == kNoAccelerator || found == texts.end() || found->second.broken) {
            continue;
        }
        std::vector<unsigned> keys;
        Accelerators(found->second.bytes, codePage, &keys);
        if (keys.size() != 1 || keys[0] == 0) {
            report.Error(0, "%s (%d) has %d accelerators ('&' before a letter); it needs one",
                         wanted.name, wanted.index, keys.size() == 1 ? 0 : (int)keys.size());
            continue;
        }
        auto owner = owners.emplace(std::make_pair(wanted.accelerators, keys[0]), &wanted);
        if (!owner.second) {
            report.Error(0, "%s (%d) has the accelerator of %s (%d)", wanted.name, wanted.index,
                         owner.first->second->name, owner.first->second->index);
        }
    }
}

void CheckPresence(const CatalogueText& wanted, const TableTexts& texts, unsigned codePage,
                   CReport& report) {
    auto found = texts.find(wanted.index);
    if (found == texts.end()) {
        report.Error(0, "%s (%d) is missing", wanted.name, wanted.index);
        return;
    }
    const std::string& bytes = found->second.bytes;
    if (found->second.broken) {
        return;
    }
    if (bytes.empty()) {
        report.Error(0, "%s (%d) is empty", wanted.name, wanted.index);
    }
    if (wanted.longest != 0 && bytes.size() > wanted.longest) {
        report.Error(0, "%s (%d) has %u bytes; setup keeps at most %u", wanted.name, wanted.index,
                     (unsigned)bytes.size(), (unsigned)wanted.longest);
    }
    if (wanted.place != kElsewhere && !bytes.empty()) {
        CheckFit(wanted, bytes, codePage, report);
    }
}

void WarnAboutUnread(const TableTexts& texts, CReport& report) {
    int unread = 0;
    for (const auto& entry : texts) {
        if (FindCatalogueText(entry.first) != nullptr || ++unread > kListedUnread) {
            continue;
        }
        report.Warning(0, "index %d is not a text setup reads", entry.first);
    }
    if (unread > kListedUnread) {
        report.Warning(0, "%d more indexes that setup never reads", unread - kListedUnread);
    }
}

} // namespace

void CheckCatalogue(const TableTexts& texts, unsigned codePage, CReport& report) {
    if (!HasFontWidths(codePage)) {
        report.Warning(0, "no font widths for code page %u: the texts' widths are not checked",
                       codePage);
    }
    for (const CatalogueText& wanted : kTextCatalogue) {
        CheckPresence(wanted, texts, codePage, report);
    }
    CheckAccelerators(texts, codePage, report);
    WarnAboutUnread(texts, report);
}

} // namespace langtool
