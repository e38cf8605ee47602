#pragma once
// CPropertiesDlg: the modal "Edit MP3 Tag" dialog for one entry. OK writes the artist, album and song
// texts into the file's ID3 version 1 block; the dialog never makes a block that is not there.
//
// In the list window's Properties command:
//   int row = m_list.GetNextItem(-1, LVNI_SELECTED); if (row < 0) return;
//   MediaEntry entry = GetEntryAt(row);
//   CPropertiesDlg dialog(entry, this);
//   if (dialog.DoModal() == IDOK && dialog.SaveTag(entry)) { replace entry row; set the row's three texts }
//   m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED | LVIS_FOCUSED);
#include "framework/Dialog.h"
#include "library/MediaEntry.h"

#include <string>

class CPropertiesDlg : public CDialog {
public:
    // Takes the entry's texts; owner is the list window, which also owns the error boxes.
    CPropertiesDlg(const MediaEntry& entry, CWnd* owner);

    // Writes the dialog's texts into the file at m_strPath (each field cut or zero-filled to 30 bytes)
    // and then into entry, whole as typed. True on success. Otherwise the user has been told ("Error
    // Writting to disk" with the system's reason, and "Error Opening File" when the file could not be
    // edited at all), the file is as it was and entry is unchanged.
    bool SaveTag(MediaEntry& entry);

    std::string m_strArtist;
    std::string m_strAlbum;
    std::string m_strPath;
    std::string m_strSong;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    // Boxes outlive the modal window: they belong to the owner.
    void Tell(const std::string& text) const;
};
