// What a screen reader gets for the controls Qt would describe wrongly here: plain radio
// buttons (Qt calls a radio that does not mark itself a check box) and drop-down lists
// (Qt names them after the entry they show, so "Cent pro Minute Rechner 3" would be lost).
#pragma once

class QWidget;

namespace platform::qt {

void InstallAccessibility();

// Call once a control is fully built: Qt may have described it while it was still being
// constructed, before it could be told from an ordinary one.
void AdoptAccessible(QWidget* control);

}  // namespace platform::qt
