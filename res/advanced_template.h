// The Advanced Options dialog's template 237.
#pragma once

#include "res/dialog_template.h"

const DialogTemplate& AdvancedOptionsTemplate();
