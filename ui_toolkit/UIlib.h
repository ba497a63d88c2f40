// The window toolkit: everything a window of the program needs.
#pragma once

#include "ui_toolkit/dialog_builder.h"
#include "ui_toolkit/paint_manager.h"
#include "ui_toolkit/resource_manager.h"
#include "ui_toolkit/ui_button.h"
#include "ui_toolkit/ui_combo.h"
#include "ui_toolkit/ui_container.h"
#include "ui_toolkit/ui_control.h"
#include "ui_toolkit/ui_edit.h"
#include "ui_toolkit/ui_string.h"
#include "ui_toolkit/window_impl_base.h"
#include "ui_toolkit/window_wnd.h"
