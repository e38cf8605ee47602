#pragma once
// Our MCI window class, used in place of the platform's "MCIWndClass" (which cannot open audio-only
// MPEG files under Wine and ignores the volume messages there). Its windows open a media file on an
// MCI device and answer the messages of the platform's class that this program sends:
//   MCIWNDM_OPEN (lParam = path; 0 or the MCI error), MCIWNDM_GETVOLUME / MCIWNDM_SETVOLUME (0..1000),
//   MCI_PLAY, MCI_STOP, MCI_PAUSE, MCI_RESUME, MCI_CLOSE, MCI_SEEK (lParam = position) as messages,
//   MCIWNDM_GETERROR (wParam = length, lParam = buffer or null; returns the last error code),
//   MCIWNDM_GETPOSITION, MCIWNDM_GETLENGTH, MCIWNDM_GETMODE, MCIWNDM_GETSTART,
//   MCIWNDM_GETREPEAT / MCIWNDM_SETREPEAT, MCIWNDM_GETDEVICEID,
// and MM_MCINOTIFY, as the callback window of plays sent straight to the device. A command sent straight
// to the device that fails is handed back with kMciWndReportError (wParam = the MCI error), so that it
// is recorded and reported like a failure of the window's own commands.
// It tells its parent MCIWNDM_NOTIFYMODE (wParam = this window, lParam = the new mode) on every change
// of mode and MCIWNDM_NOTIFYERROR (lParam = the MCI error) when a command fails, as the style's
// MCIWNDF_NOTIFYMODE and MCIWNDF_NOTIFYERROR ask; it shows no dialogs of its own. Mode changes reach
// the parent from the message loop, never from inside a command the parent is sending, so a parent
// may start the next track from inside the stopped notification.
// It draws a play bar: a play/stop button and a position slider, with the file name (MCIWNDF_SHOWNAME),
// the position (MCIWNDF_SHOWPOS) and the mode (MCIWNDF_SHOWMODE) as a small text.
#include <windows.h>
#include <mmsystem.h>
#include <vfw.h>

constexpr const char kMelodeckMciClassName[] = "MelodeckMCIWnd";
// Beyond the platform class's MCIWNDM_ range.
constexpr UINT kMciWndReportError = WM_USER + 0x300;

// Registers the class (once; a second call succeeds too) and the common controls it uses.
bool RegisterMelodeckMciClass(HINSTANCE instance);
