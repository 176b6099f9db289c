// Everything of the framework layer in one include: application object, windows and dialogs,
// control wrappers, GDI owners and guards, the string type and message boxes.
#pragma once

#include "framework/common_controls.h"
#include "framework/dialog.h"
#include "framework/gdi.h"
#include "framework/message_box.h"
#include "framework/string_type.h"
#include "framework/win_app.h"
#include "framework/wnd.h"
