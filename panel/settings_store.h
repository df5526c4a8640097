// Registry persistence of ConverterSettings under HKLM\SOFTWARE\VEY\Lumipoint.
// Free functions so the host tests reach them without the dialog.
#pragma once

#include "panel/converter_settings.h"

void LoadConverterSettings(ConverterSettings& settings);
void SaveConverterSettings(const ConverterSettings& settings);
