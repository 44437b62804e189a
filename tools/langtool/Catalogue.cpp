#include "Catalogue.h"

#include <algorithm>
#include <iterator>
#include <set>
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

// An access key: the character a '&' marks, in UTF-8 as written, and
// folded to lower case for comparing; 0 for a '&' at the end.
struct AccessKey {
    std::string written;
    unsigned folded = 0;
};

// The access keys a button's text marks with '&' ("&&" is a plain '&', and
// "& " marks no key: a space is not one a player can press).
std::vector<AccessKey> AccessKeys(const std::string& bytes, unsigned codePage) {
    std::vector<AccessKey> keys;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '&' || (i + 1 < bytes.size() && bytes[i + 1] == ' ')) {
            continue;
        }
        if (i + 1 < bytes.size() && bytes[i + 1] == '&') {
            ++i;
            continue;
        }
        size_t length = i + 2 < bytes.size() && IsLeadByte(codePage, bytes[i + 1]) ? 2 : 1;
        AccessKey key;
        CodePageToUtf8(codePage, bytes.substr(i + 1, length), &key.written);
        key.folded = key.written.empty() ? 0 : FoldCase(FirstCodePoint(key.written));
        keys.push_back(key);
    }
    return keys;
}

void CheckAccelerators(const TableTexts& texts, unsigned codePage, CReport& report) {
    std::map<std::pair<int, unsigned>, const CatalogueText*> owners; // by group and key
    for (const CatalogueText& wanted : kTextCatalogue) {
        auto found = texts.find(wanted.index);
        if (wanted.accelerators == kNoAccelerator || found == texts.end() || found->second.broken) {
            continue;
        }
        std::vector<AccessKey> keys = AccessKeys(found->second.bytes, codePage);
        if (keys.size() != 1 || keys[0].folded == 0) {
            report.Error(0, "%s (%d) has %d accelerators ('&' before a letter); it needs one",
                         wanted.name, wanted.index, keys.size() == 1 ? 0 : (int)keys.size());
            continue;
        }
        auto owner = owners.emplace(std::make_pair(wanted.accelerators, keys[0].folded), &wanted);
        if (!owner.second) {
            report.Error(0, "%s (%d) has the accelerator '%s' of %s (%d)", wanted.name,
                         wanted.index, keys[0].written.c_str(), owner.first->second->name,
                         owner.first->second->index);
        }
    }
}

// A control character of the text, or a line break outside a message box's
// own text (the catalogue's kInMessageBody).
void CheckControlCharacters(const CatalogueText& wanted, const std::string& bytes,
                            CReport& report) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        unsigned char c = (unsigned char)bytes[i];
        if (c == '\n' && wanted.place != kInMessageBody) {
            report.Error(0, "%s (%d) holds a line break; only a message's text may", wanted.name,
                         wanted.index);
            return;
        }
        if ((c < 0x20 && c != '\n') || c == 0x7F) {
            report.Error(0, "%s (%d) holds the control character U+%04X: none is allowed",
                         wanted.name, wanted.index, c);
            return;
        }
    }
}

// The placeholders %1 to %9 of `text`, each once, in order.
std::set<char> Placeholders(const std::string& text) {
    std::set<char> found;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9') {
            found.insert(text[++i]);
        }
    }
    return found;
}

std::string List(const std::set<char>& placeholders) {
    std::string list;
    for (char digit : placeholders) {
        list += (list.empty() ? "%" : ", %") + std::string(1, digit);
    }
    return list;
}

// What is wrong with the placeholders of `translation` against those of
// `english`; "" when both have the same, in any order and number.
std::string PlaceholderProblem(const std::string& english, const std::string& translation) {
    std::set<char> wanted = Placeholders(english);
    std::set<char> given = Placeholders(translation);
    if (wanted == given) {
        return "";
    }
    std::set<char> missing;
    std::set<char> extra;
    std::set_difference(wanted.begin(), wanted.end(), given.begin(), given.end(),
                        std::inserter(missing, missing.end()));
    std::set_difference(given.begin(), given.end(), wanted.begin(), wanted.end(),
                        std::inserter(extra, extra.end()));
    std::string problem = "lacks " + List(missing);
    if (missing.empty()) {
        problem = "has " + List(extra) + ", which the English lacks";
    } else if (!extra.empty()) {
        problem += " and has " + List(extra) + ", which the English lacks";
    }
    return problem + ": the English's placeholders are " +
           (wanted.empty() ? std::string("none") : List(wanted));
}

void CheckPresence(const CatalogueText& wanted, const TableTexts& texts, unsigned codePage,
                   CReport& report) {
    auto found = texts.find(wanted.index);
    if (found == texts.end()) {
        report.Error(0, "%s (%d) is missing", wanted.name, wanted.index);
        return;
    }
    if (!found->second.broken) {
        CheckText(wanted, found->second.bytes, codePage, report);
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

bool HasPlaceholders(const std::string& text) {
    return !Placeholders(text).empty();
}

void CheckText(const CatalogueText& wanted, const std::string& bytes, unsigned codePage,
               CReport& report) {
    if (bytes.empty()) {
        report.Error(0, "%s (%d) is empty", wanted.name, wanted.index);
    }
    if (wanted.longest != 0 && bytes.size() > wanted.longest) {
        report.Error(0, "%s (%d) has %u bytes; setup keeps at most %u", wanted.name, wanted.index,
                     (unsigned)bytes.size(), (unsigned)wanted.longest);
    }
    if ((!OutsideTheDialog(wanted.place) || wanted.place == kInFolderPicker) && !bytes.empty()) {
        CheckFit(wanted, bytes, codePage, report);
    }
    CheckControlCharacters(wanted, bytes, report);
    std::string problem = PlaceholderProblem(wanted.english, bytes);
    if (!problem.empty()) {
        report.Error(0, "%s (%d) %s", wanted.name, wanted.index, problem.c_str());
    }
}

void CheckCatalogue(const TableTexts& texts, unsigned codePage, CReport& report) {
    for (const CatalogueText& wanted : kTextCatalogue) {
        CheckPresence(wanted, texts, codePage, report);
    }
    CheckAccelerators(texts, codePage, report);
    WarnAboutUnread(texts, report);
}

} // namespace langtool
