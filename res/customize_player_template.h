// The Customize Player dialog's template 155.
#pragma once

#include "res/dialog_template.h"

const DialogTemplate& CustomizePlayerTemplate();
