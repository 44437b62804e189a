#include "platform/Controls.h"

bool CComboBox::GetLBText(int index, char* buffer, size_t size) const {
    if (size == 0)
        return false;
    buffer[0] = '\0';
    LRESULT length = SendMessage(CB_GETLBTEXTLEN, (WPARAM)index);
    if (length == CB_ERR || (size_t)length >= size)
        return false;
    return SendMessage(CB_GETLBTEXT, (WPARAM)index, (LPARAM)buffer) != CB_ERR;
}
