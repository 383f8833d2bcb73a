#pragma once
// Under a window manager wxWidgets holds back the first showing of a
// top-level window until the manager has said how wide its frame is, and
// meanwhile realises the window at a two-pixel allocation: every tool bar
// and notebook inside it is then laid out in two pixels, and GTK warns about
// each. A window that already has its own size as its allocation is realised
// at that size instead; the held-back showing is otherwise unchanged, so the
// window's outer size stays the one asked for.

class wxTopLevelWindow;

// Gives `window` its size as GTK's allocation when it has none yet (it was
// never realised). Call before its first Show.
void allocateBeforeFirstShow(wxTopLevelWindow& window);
