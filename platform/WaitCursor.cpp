#include "platform/WaitCursor.h"

int CWaitCursor::s_count = 0;

CWaitCursor::CWaitCursor() : m_previous(::GetCursor()) {
    ++s_count;
    Show();
}

CWaitCursor::~CWaitCursor() {
    --s_count;
    ::SetCursor(m_previous);
}
