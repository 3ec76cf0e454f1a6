#pragma once
// Tooltips for the tweak controls of the main window: every check box, the radio pair, the
// number boxes (field and arrows), the text boxes and the drive boxes show the explanation
// of their tweak from the catalogue when the pointer rests on them; a tweak that does not apply
// here says why first.

#include "base/texts/texts.h"
#include "engine/where_tweaks_apply.h"
#include "ui/control_descriptions.h"
#include "ui/ui_core.h"

// Creates one tooltip control owned by the window (it goes with the window) and adds a tool
// for every tweak control the window has; each text is also the control's description for a
// screen reader. Call once, after the pages are built.
HWND AddTweakTooltips(UICore& window, Language language, const Availability& availability,
                      ControlDescriptions& descriptions);
// Gives every tool, and every description, the text for the availability.
void UpdateTweakTooltips(HWND tip, const UICore& window, Language language,
                         const Availability& availability, ControlDescriptions& descriptions);
