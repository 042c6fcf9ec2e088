// The Get Code dialog's template 181.
#pragma once

#include "res/dialog_template.h"

const DialogTemplate& GetCodeTemplate();
