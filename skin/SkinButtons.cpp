#include "skin/SkinButtons.h"

#include "skin/SkinRules.h"

CSkinCtrl* CreateSkinButton(DWORD style) {
    skin::ButtonSkin skin = skin::ButtonSkinFor(style);
    switch (skin.kind) {
    case skin::ButtonKind::Push:
        return new CSkinButtonPush(skin.features);
    case skin::ButtonKind::Check:
        return new CSkinButtonCheck(skin.features);
    case skin::ButtonKind::Radio:
        return new CSkinButtonRadio(skin.features);
    case skin::ButtonKind::Group:
        return new CSkinButtonGroup(skin.features);
    default:
        return nullptr;
    }
}
