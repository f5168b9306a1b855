#pragma once

class QApplication;

// Enter on a focused button presses it (the key goes to the focus widget), on every screen. The
// Enter chains end on a screen's main button, so a barcode scanner's Enter there must act. A window
// with rules of its own for Enter on its buttons sets this property to true.
namespace EnterKeys {
inline constexpr const char* ownRulesProperty = "ownEnterKeys";
void install(QApplication* application);
} // namespace EnterKeys
