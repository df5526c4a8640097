#include "guntest/calibration_flow.h"

#include <cstddef>
#include <cstring>

#include "calibration/calibration_solver.h"
#include "pointer/aim_mapping.h"

namespace {

// A bit that went low since the last report: a gun button pressed (active low).
bool IsPressEdge(const GunReport& previous, const GunReport& now)
{
    return ((previous.bytes[0] & ~now.bytes[0]) | (previous.bytes[1] & ~now.bytes[1])) != 0;
}

// The solver's refusals are their own notes.
static_assert(static_cast<int>(kNoteAimedOffScreen) == kAimOffScreen && static_cast<int>(kNoteAimsTooClose) == kAimsTooClose &&
                  static_cast<int>(kNoteAimsReversed) == kAimsReversed &&
                  static_cast<int>(kNoteWindowOutOfRange) == kWindowOutOfRange,
              "notes in the solver's order");

// A name too long for the stored field is cut, still terminated.
void CopyName(char* to, std::size_t size, const char* from)
{
    std::size_t i = 0;
    for (; from[i] != '\0' && i + 1 < size; ++i)
        to[i] = from[i];
    to[i] = '\0';
}

} // namespace

CCalibrationFlow::CCalibrationFlow()
    : m_display(), m_step(kStepFirstTarget), m_note(kNoteNone), m_previous(kIdleReport), m_hasPrevious(false),
      m_firstRawX(0), m_firstRawY(0), m_centreError(), m_result(DefaultCalibration())
{
}

void CCalibrationFlow::Begin(const RECT& display, const char* device, const char* monitor, const GunReport* current)
{
    m_display = display;
    m_result = DefaultCalibration();
    CopyName(m_result.display, sizeof m_result.display, device);
    CopyName(m_result.monitor, sizeof m_result.monitor, monitor);
    m_hasPrevious = current != nullptr;
    if (current != nullptr)
        m_previous = *current;
    Restart();
    if (current == nullptr)
        m_note = kNoteWaitingForGun;
}

void CCalibrationFlow::Restart()
{
    m_step = kStepFirstTarget;
    m_note = kNoteNone;
    m_centreError = ScreenPoint{0, 0};
}

ScreenPoint CCalibrationFlow::TargetOf(CalibrationStep step) const
{
    const CalibrationTarget target = step == kStepFirstTarget    ? kTopLeftTarget
                                     : step == kStepSecondTarget ? kBottomRightTarget
                                                                 : kCentreTarget;
    const TargetPoint point = CalibrationTargetPoint(m_display, target);
    return ScreenPoint{point.x, point.y};
}

void CCalibrationFlow::OnDisplay(const RECT& display, const char* device)
{
    // Begin kept as much of the name as fits.
    if (std::memcmp(&display, &m_display, sizeof display) != 0 ||
        std::strncmp(device, m_result.display, sizeof m_result.display - 1) != 0)
        m_step = kStepEnded;
}

void CCalibrationFlow::OnGun(const GunReport* report)
{
    if (m_step >= kStepKept)
        return;
    if (report == nullptr) {
        m_hasPrevious = false;
        m_note = kNoteWaitingForGun;
        return;
    }
    // A gun that comes back holding a button has not pressed it for this step.
    const bool answers = m_hasPrevious && IsPressEdge(m_previous, *report);
    if (m_note == kNoteWaitingForGun)
        m_note = kNoteNone;
    m_previous = *report;
    m_hasPrevious = true;
    if (answers)
        Answer(ReportRawX(*report), ReportRawY(*report));
}

void CCalibrationFlow::Answer(WORD rawX, WORD rawY)
{
    const bool offScreen = IsAimedOffScreen(rawX, rawY);
    if (m_step == kStepVerdict) {
        if (offScreen)
            Restart();
        else
            Keep();
        return;
    }
    if (offScreen) {
        m_note = kNoteAimedOffScreen;
        return;
    }
    m_note = kNoteNone;
    const ScreenPoint target = Target();
    if (m_step == kStepFirstTarget) {
        m_firstRawX = rawX;
        m_firstRawY = rawY;
        m_step = kStepSecondTarget;
        return;
    }
    if (m_step == kStepSecondTarget) {
        const ScreenPoint first = TargetOf(kStepFirstTarget);
        const CalibrationAim firstAim = {first.x, first.y, m_firstRawX, m_firstRawY};
        const CalibrationAim secondAim = {target.x, target.y, rawX, rawY};
        const CalibrationRefusal refusal = SolveAimWindow(m_display, firstAim, secondAim, m_result.window);
        if (refusal == kCalibrationSolved)
            m_step = kStepCentreTarget;
        else
            m_note = static_cast<CalibrationNote>(refusal);
        return;
    }
    ScreenPoint landed = {};
    MapAimToScreen(MakeCalibratedAimScale(m_display, m_result.window), rawX, rawY, landed);
    m_centreError = ScreenPoint{landed.x - target.x, landed.y - target.y};
    m_step = kStepVerdict;
}

void CCalibrationFlow::Keep()
{
    if (m_step != kStepVerdict)
        return;
    m_step = kStepKept;
    m_note = kNoteNone;
}

void CCalibrationFlow::TryAgain()
{
    if (m_step < kStepKept)
        Restart();
}

void CCalibrationFlow::SaveFailed()
{
    if (m_step != kStepKept)
        return;
    m_step = kStepVerdict;
    m_note = kNoteNotSaved;
}

void FormatCalibrationStepLine(const CCalibrationFlow& flow, char* text)
{
    if (flow.Step() >= kStepVerdict) {
        wsprintfA(text, "Keep it: any gun button or Enter. Try again: Backspace, or a gun button aimed off the screen");
        return;
    }
    wsprintfA(text, "Aim at the target and press any gun button (step %d of 3)", static_cast<int>(flow.Step()) + 1);
}

void FormatCalibrationTargetLine(const CCalibrationFlow& flow, char* text)
{
    const ScreenPoint target = flow.Target();
    wsprintfA(text, "Target at %d, %d", static_cast<int>(target.x), static_cast<int>(target.y));
}

void FormatCalibrationCheckLine(const CCalibrationFlow& flow, char* text)
{
    if (flow.Step() < kStepVerdict) {
        text[0] = '\0';
        return;
    }
    const ScreenPoint error = flow.CentreError();
    wsprintfA(text, "Centre check: the aim landed %d px %s and %d px %s from the target",
              static_cast<int>(error.x < 0 ? -error.x : error.x), error.x < 0 ? "left" : "right",
              static_cast<int>(error.y < 0 ? -error.y : error.y), error.y < 0 ? "up" : "down");
}

void FormatCalibrationNoteLine(const CCalibrationFlow& flow, char* text)
{
    static const char* const kNotes[] = {
        "",
        "Aimed off the screen",
        "Under 32 raw units from the first aim",
        "The wrong way round from the first aim",
        "Beyond the gun's range",
        "Waiting for the gun",
        "Not saved: Gun Test needs administrator rights",
    };
    const CalibrationNote note = flow.Note();
    const bool refused = note >= kNoteAimedOffScreen && note <= kNoteWindowOutOfRange;
    wsprintfA(text, refused ? "%s: aim at the target and press again" : "%s", kNotes[note]);
}

const char* CalibrationEndNote(const CCalibrationFlow& flow)
{
    return flow.Step() == kStepEnded ? " (ended: the display changed)" : "";
}
