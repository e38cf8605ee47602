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
