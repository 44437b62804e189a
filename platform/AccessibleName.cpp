#include "platform/AccessibleName.h"

#include <oleacc.h>

#include "platform/ComRef.h"

// oleacc.h gives the interface's identifier only as a variable; this ties
// it to the type, for IID_PPV_ARGS.
__CRT_UUID_DECL(IAccPropServices, 0x6e26e776, 0x04f0, 0x495d, 0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e,
                0x31, 0x69)

namespace {

// The label's text as a screen reader reads it: "&&" as "&", a single "&"
// (the mnemonic's mark) left out.
void ReadLabel(HWND label, WCHAR* name, int size) {
    char text[256];
    int length = GetWindowTextA(label, text, sizeof text);
    int kept = 0;
    for (int i = 0; i < length; ++i) {
        if (text[i] == '&' && text[++i] == '\0')
            break;
        text[kept++] = text[i];
    }
    text[kept] = '\0';
    if (!MultiByteToWideChar(CP_ACP, 0, text, -1, name, size))
        name[0] = L'\0';
}

void Annotate(IAccPropServices* services, HWND dialog, const LabelledControl* pairs, int count) {
    for (int i = 0; i < count; ++i) {
        WCHAR name[256];
        ReadLabel(GetDlgItem(dialog, pairs[i].label), name, 256);
        services->SetHwndPropStr(GetDlgItem(dialog, pairs[i].control), (DWORD)OBJID_CLIENT,
                                 CHILDID_SELF, PROPID_ACC_NAME, name);
    }
}

} // namespace

void NameControlsAfterLabels(HWND dialog, const LabelledControl* pairs, int count) {
    // The annotation stays with the window once the service is released.
    // Single-threaded, as every thread of this program; a repeated
    // initialisation (S_FALSE) still needs its CoUninitialize.
    CoInitialize(nullptr);
    {
        CComRef<IAccPropServices> services;
        CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                         IID_PPV_ARGS(services.Out()));
        if (services)
            Annotate(services.Get(), dialog, pairs, count);
    }
    CoUninitialize();
}
