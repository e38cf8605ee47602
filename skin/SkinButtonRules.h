#pragma once
// The portable rules of button skins.
