#pragma once
// Owned GDI objects: each deletes its handle when it goes or is replaced.
#include <windows.h>

template <class Handle>
class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(Handle handle) : m_handle(handle) {}
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    operator Handle() const { return m_handle; }
    Handle GetSafeHandle() const { return m_handle; }
    bool IsNull() const { return m_handle == nullptr; }
    void Attach(Handle handle) {
        DeleteObject();
        m_handle = handle;
    }
    Handle Detach() {
        Handle handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    void DeleteObject() {
        if (m_handle) ::DeleteObject(m_handle);
        m_handle = nullptr;
    }

protected:
    Handle m_handle = nullptr;
};

class CFont : public CGdiObject<HFONT> {
public:
    bool CreateFontIndirect(const LOGFONTA& description) {
        Attach(::CreateFontIndirectA(&description));
        return !IsNull();
    }
    bool GetLogFont(LOGFONTA* description) const {
        return m_handle && ::GetObjectA(m_handle, sizeof(LOGFONTA), description) == sizeof(LOGFONTA);
    }
};

class CBrush : public CGdiObject<HBRUSH> {
public:
    bool CreateSolidBrush(COLORREF colour) {
        Attach(::CreateSolidBrush(colour));
        return !IsNull();
    }
};

class CPen : public CGdiObject<HPEN> {
public:
    bool CreatePen(int style, int width, COLORREF colour) {
        Attach(::CreatePen(style, width, colour));
        return !IsNull();
    }
};

class CBitmap : public CGdiObject<HBITMAP> {};

// Selects an object into a device context for the scope, then puts the previous one back.
class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(object ? ::SelectObject(dc, object) : nullptr) {}
    ~CSelectObject() {
        if (m_old) ::SelectObject(m_dc, m_old);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// An off-screen copy of an area of a device context: drawing goes to it, and the destructor copies it
// back in one blit, so no half-drawn state is ever seen. It starts with the target's current pixels.
class COffscreenDC {
public:
    COffscreenDC(HDC target, const RECT& area) : m_target(target), m_area(area) {
        int width = area.right - area.left, height = area.bottom - area.top;
        m_dc = ::CreateCompatibleDC(target);
        m_bitmap.Attach(::CreateCompatibleBitmap(target, width > 0 ? width : 1, height > 0 ? height : 1));
        if (!m_dc || m_bitmap.IsNull()) return;
        m_old = ::SelectObject(m_dc, m_bitmap);
        ::SetWindowOrgEx(m_dc, area.left, area.top, nullptr);
        ::BitBlt(m_dc, area.left, area.top, width, height, target, area.left, area.top, SRCCOPY);
    }
    ~COffscreenDC() {
        if (m_old) {
            ::BitBlt(m_target, m_area.left, m_area.top, m_area.right - m_area.left, m_area.bottom - m_area.top,
                     m_dc, m_area.left, m_area.top, SRCCOPY);
            ::SelectObject(m_dc, m_old);
        }
        if (m_dc) ::DeleteDC(m_dc);
    }
    COffscreenDC(const COffscreenDC&) = delete;
    COffscreenDC& operator=(const COffscreenDC&) = delete;

    // Draws straight to the target when no off-screen bitmap could be made.
    operator HDC() const { return m_old ? m_dc : m_target; }

private:
    HDC m_target;
    RECT m_area;
    HDC m_dc = nullptr;
    CBitmap m_bitmap;
    HGDIOBJ m_old = nullptr;
};
