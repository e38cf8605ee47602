#pragma once
// Stands in for the skin manager in the skin tests: owns the skin objects attached to the test's windows,
// finds them by handle, keeps the cursor far away so that nothing shows hot, and reads pixels back.
#include "skin/SkinCtrl.h"
#include "skin/SkinGlyphs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <map>
#include <memory>
#include <utility>

class SkinTestOwner : public testing::Test, public ISkinCtrlOwner {
protected:
    // A bitmap selected into its own memory DC: a window's copy or a resource, read pixel by pixel.
    struct Image {
        explicit Image(HBITMAP owned) : dc(CreateCompatibleDC(nullptr)) {
            bitmap.Attach(owned);
            BITMAP info{};
            GetObjectA(owned, sizeof info, &info);
            width = info.bmWidth, height = info.bmHeight;
            SelectObject(dc, owned);
        }
        Image(int width, int height) : Image(ScreenBitmap(width, height)) {}
        ~Image() { DeleteDC(dc); }
        COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
        // How many pixels have the colour, and the box around them.
        int Count(COLORREF color, RECT* bounds = nullptr) const {
            int count = 0;
            RECT box{width, height, -1, -1};
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    if (At(x, y) == color)
                        ++count, box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                                        std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
            if (bounds) *bounds = box;
            return count;
        }
        static HBITMAP ScreenBitmap(int width, int height) {
            HDC screen = GetDC(nullptr);
            HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
            ReleaseDC(nullptr, screen);
            return bitmap;
        }
        HDC dc;
        CBitmap bitmap;
        int width = 0, height = 0;
    };

    void SetUp() override {
        skin::g_pOwner = this;
        skin::g_bVisualStylesActive = false; // as the program has it once the skin starts
    }
    void TearDown() override {
        DestroyParent();
        m_skins.clear();
        skin::g_pOwner = nullptr;
        skin::ForceGlyphShapes(false);
    }

    // A visible popup that the test's controls sit on.
    HWND CreateParent(const char* className, int x, int y, int width, int height) {
        return m_parent = CreateWindowA(className, "", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr,
                                        nullptr, nullptr, nullptr);
    }
    void DestroyParent() {
        if (m_parent) DestroyWindow(m_parent);
        m_parent = nullptr;
    }
    HWND Child(const char* className, DWORD style, int x, int y, int width, int height, DWORD exStyle = 0,
               const char* text = "") {
        return CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                               m_parent, nullptr, nullptr, nullptr);
    }
    void SetColors(std::initializer_list<std::pair<COLORREF, int>> colors) {
        for (auto& [color, slot] : colors)
            m_globals.SetColor(color, slot);
    }

    // Hooks the window with a new skin object on the test's colours; null when it refuses.
    template <class Skin = CSkinCtrl> Skin* Attach(HWND hWnd, DWORD features) {
        return Adopt(hWnd, std::make_unique<Skin>(features));
    }
    template <class Skin> Skin* Adopt(HWND hWnd, std::unique_ptr<Skin> skin) {
        if (!skin || !skin->Initialize(hWnd)) return nullptr;
        skin->m_pGlobals = &m_globals;
        Skin* raw = skin.get();
        m_skins[hWnd] = std::move(skin);
        return raw;
    }

    CSkinCtrl* GetSkinCtrl(HWND hWnd) override {
        auto it = m_skins.find(hWnd);
        return it == m_skins.end() ? nullptr : it->second.get();
    }
    // As the manager does: the object lets go of the window (its children first) and is deleted.
    int DetachWindow(HWND hWnd) override {
        auto it = m_skins.find(hWnd);
        if (it == m_skins.end()) return 0;
        std::unique_ptr<CSkinCtrl> skin = std::move(it->second);
        m_skins.erase(it);
        skin->Uninitialize();
        return 1;
    }
    POINT GetLastCursorPos() override { return m_lastCursor; }
    void SetLastCursorPos(POINT) override {} // a real cursor would make the pixels depend on the mouse

    static std::unique_ptr<Image> ReadResource(UINT id) {
        return std::make_unique<Image>(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
    }
    // A pixel of one of the program's bitmaps, as the skin would copy it.
    static COLORREF BitmapPixel(UINT id, int x, int y) { return ReadResource(id)->At(x, y); }
    // Repaints the window, frame and children included.
    static void Repaint(HWND hWnd) {
        RedrawWindow(hWnd, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    // A pixel on screen, in window coordinates (frame included) or client coordinates.
    static COLORREF WindowPixel(HWND hWnd, int x, int y) {
        HDC dc = GetWindowDC(hWnd);
        COLORREF pixel = GetPixel(dc, x, y);
        ReleaseDC(hWnd, dc);
        return pixel;
    }
    static COLORREF ClientPixel(HWND hWnd, int x, int y) {
        HDC dc = GetDC(hWnd);
        COLORREF pixel = GetPixel(dc, x, y);
        ReleaseDC(hWnd, dc);
        return pixel;
    }

    HWND m_parent = nullptr;
    CSkinGlobals m_globals;
    std::map<HWND, std::unique_ptr<CSkinCtrl>> m_skins;
    POINT m_lastCursor{-1000, -1000};
};
