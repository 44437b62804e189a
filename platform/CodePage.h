#pragma once
// The system's ANSI code page for the portable rules (text/CodePage.h): its
// lead bytes, and names compared in any case as the file system compares
// them. Set once at start, before any path is looked at.

void UseSystemCodePage();
