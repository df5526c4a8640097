// The texts of Gun Test's fact lines, each written whole into a buffer of
// kFactTextSize bytes. A NULL report means none was read since the link opened.
#pragma once

#include "calibration/calibration.h"
#include "framework/platform.h"
#include "gun/gun_report.h"
#include "guntest/gun_watch.h"
#include "guntest/play_choices.h"
#include "guntest/settings_copy.h"
#include "pointer/aim_mapping.h"

const int kFactTextSize = kGunPathSize + 64;

void FormatStatusLine(const CGunWatch& watch, char* text);
void FormatRawLine(const GunReport* report, char* text);
void FormatButtonBytesLine(const GunReport* report, char* text);
void FormatHeldLine(const GunReport* report, char* text);
// Where Glimmerdot would place the cursor for this report on this screen.
void FormatCursorLine(const GunReport* report, const AimScale& screen, char* text);
void FormatReadRateLine(int readsPerSecond, char* text);
// Which copy of the settings this run (and Glimmerdot run the same way) uses.
void FormatSettingsLine(SettingsCopy copy, char* text);
// The calibration in force, with `note` after it.
void FormatCalibrationLine(const Calibration& calibration, const char* note, char* text);
// What a press of Glimmerdot's left-click gun button (`left`, 1..6) would do
// now, with these play settings.
void FormatPressLine(const GunReport* report, const AimScale& screen, const PlaySettings& play, BYTE left, char* text);
// What is stored, or what Save or Defaults did.
void FormatPlayLine(const PlayPanel& panel, char* text);
