// The control panel: the program's one window, owner of the gun link, the
// mouse emulator and the persisted settings.
#pragma once

#include "framework/framework.h"
#include "framework/owned_handle.h"
#include "gun/gun_device.h"
#include "panel/converter_settings.h"
#include "pointer/mouse_emulator.h"

namespace owned_detail {
inline void DestroyOwnIcon(HICON icon) { DestroyIcon(icon); }
}  // namespace owned_detail

// An icon made for this program alone (LoadImageA without LR_SHARED); one
// shared from the module's resources (LoadIcon) needs no owner.
typedef OwnedHandle<HICON, owned_detail::Null<HICON>, owned_detail::DestroyOwnIcon> OwnedIcon;

class CConverterDlg : public CDialog {
public:
    CConverterDlg();
    ~CConverterDlg() override;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;

    // Frame (converter_dlg.cpp)
    void LoadSettings();
    void SaveSettings();
    void OnDestroy();

    // Conversion control (conversion_control.cpp)
    void OnStart();
    void OnStop();
    void OnAssignmentChanged(UINT id);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnTimer(UINT id);
    LRESULT OnDeviceChange(WPARAM wParam, LPARAM lParam);
    void OnDisplayChange(UINT bitsPerPixel, int cx, int cy);
    void StopConversion();

    // Window behaviour (window_behaviour.cpp)
    void SetSpeedRange();
    void FillAssignmentLists();
    void ShowSettings();
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnSize(UINT type, int cx, int cy);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    BOOL IsOverLogo(CPoint point) const;

    // Tray (tray.cpp)
    void AddTrayIcon();
    void RemoveTrayIcon();
    LRESULT OnTrayNotify(WPARAM id, LPARAM mouseMessage);
    void OnMenuSetting();
    void ShowTrayMenu();
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);

    // The shell broadcasts it when it (re)creates the notification area.
    static const UINT s_taskbarCreatedMessage;

private:
    HICON icon;
    // The notification area's, at its own size; it outlives the tray icon.
    OwnedIcon trayIcon;
    CMouseEmulator emulator;
    CGunDevice device;
    ConverterSettings settings;

    DECLARE_MESSAGE_MAP()
};
