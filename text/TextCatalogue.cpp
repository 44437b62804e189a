#include "text/TextCatalogue.h"

const CatalogueText kTextCatalogue[kTextCatalogueSize] = {
#define CATALOGUE_TEXT(name, index, control, place, accelerators, longest, english, where)         \
    {#name, index, control, place, accelerators, longest, english, where},
    TEXT_CATALOGUE(CATALOGUE_TEXT)
#undef CATALOGUE_TEXT
};

const CatalogueText* FindCatalogueText(int index) {
    for (const CatalogueText& text : kTextCatalogue) {
        if (text.index == index) {
            return &text;
        }
    }
    return nullptr;
}
