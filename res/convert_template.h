// The Convert Video dialog's template 217.
#pragma once

#include "res/dialog_template.h"

const DialogTemplate& ConvertVideoTemplate();
