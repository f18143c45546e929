#include "launcher/window/ListKeys.h"

#include "services/ListInputCodes.h"

std::optional<ListMenuService::Item> listKeyCommand(int keyCode, int shift)
{
    using Item = ListMenuService::Item;
    // Only S, Z and Y read the shift state: Shift+S saves every row; Z and Y
    // work with Ctrl only.
    const bool ctrl = (shift & ListInput::CtrlDown) != 0;
    switch (keyCode) {
    case ListInput::KeyZ:
        if (!ctrl)
            return std::nullopt;
        return (shift & ListInput::ShiftDown) != 0 ? Item::Redo : Item::Undo;
    case ListInput::KeyY:
        return ctrl ? std::optional(Item::Redo) : std::nullopt;
    case ListInput::KeyDelete:
        return Item::Delete;
    case ListInput::KeyR:
        return Item::Rename;
    case ListInput::KeyEnter:
    case ListInput::KeyE:
        return Item::EditTag;
    case ListInput::KeyS:
        // Shift alone saves every row; S with no or any other modifiers the
        // selected ones.
        return shift == ListInput::ShiftDown ? Item::SaveAll : Item::SaveSelected;
    case ListInput::KeyL:
        return Item::Load;
    case ListInput::KeyC:
        return Item::Copyright;
    case ListInput::KeyI:
        return Item::FillFromId3v2;
    case ListInput::KeyN:
        return Item::FillFromFileNames;
    case ListInput::KeyV:
        return Item::PasteTitles;
    case ListInput::Key8:
        return Item::ReadAsUtf8;
    case ListInput::KeyJ:
        return Item::ReadAsEucJp;
    case ListInput::KeyW:
        return Item::SaveWithId3v2;
    default:
        return std::nullopt;
    }
}
