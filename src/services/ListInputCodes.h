#pragma once

// The codes the file list reports its input with, as the logic reads them,
// and the modes of Save.
namespace ListInput {

// Key codes of the keys the list's commands use.
enum Key : int {
    KeyEnter = 13, KeyDelete = 46, Key8 = 56, KeyC = 67, KeyE = 69, KeyI = 73, KeyJ = 74, KeyL = 76, KeyM = 77, KeyN = 78,
    KeyR = 82, KeyS = 83, KeyV = 86, KeyW = 87, KeyY = 89, KeyZ = 90
};

// Bits of the shift state that comes with a key or a mouse press.
enum ShiftBit : int { ShiftDown = 1, CtrlDown = 2, AltDown = 4 };

// Mouse buttons.
enum Button : int { LeftButton = 1, RightButton = 2, MiddleButton = 4 };

}  // namespace ListInput

// Save's mode; the values are the positions of the two save items in the menu.
enum SaveMode : int { SaveSelected = 0, SaveAll = 1 };
