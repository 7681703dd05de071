#pragma once

#include "Appearance.h"

class QQmlEngine;

namespace vorlie {

// Gives a QML engine the theme objects the widget's views draw with: the
// returned appearance's colours (the caller makes it follow the desktop, or
// fixes it for screenshots), and no motion at all: a widget is a still
// picture that must cost nothing while it sits on the desktop. The objects
// belong to the engine.
Appearance &prepareWidgetEngine(QQmlEngine &engine);

} // namespace vorlie
