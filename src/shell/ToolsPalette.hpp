#pragma once
// The add-on's one modeless tool palette: About, Input, Earthmoving, Street furniture, Parameters and Data
// update over a coordinate display. Four buttons open a sub-palette beside it (SubPalettes).
#include "shell/CoordinateDisplay.hpp"

#include <cstdint>

class CToolsPlt : public CoordinatePalette {
public:
    static constexpr int16_t ResourceId = 32400;
    static constexpr int16_t Width = 64;
    static constexpr int16_t Height = 395;
    static constexpr uint32_t RegistrationFlags = 71;

    // Items.
    static constexpr int16_t ItemAbout = 1;
    static constexpr int16_t ItemInput = 2;
    static constexpr int16_t ItemEarthmoving = 3;
    static constexpr int16_t ItemStreetFurniture = 4;
    static constexpr int16_t ItemParameters = 5;
    static constexpr int16_t ItemDataUpdate = 6;
    static constexpr int16_t ItemShowCoordinates = 8;
    static constexpr int16_t ItemLast = 14;

    CToolsPlt();

    void Hide() override;
    void Show() override;
    void Activate() override;
    void OnClosed() override;
    void ToggleVisibility() override;
    void EnableItems(bool enable) override;
    void Close() override;
    void UpdateMenu() override;
    void OnOpened() override;
    int32_t OnClick(int16_t item, DGMessageData data) override;
    void OnChange(int16_t item, DGMessageData data) override;
    void OnMessage0() override;
    void OnUpdateUserItem(int16_t item, DGMessageData data) override;
    // Slot 19: resets the base, sets the palette's resource, size and flags, and opens it.
    virtual void Create();

    // The names the module's life and its menu use.
    void UpdateMenuTexts() { UpdateMenu(); }
    // Whether a menu text could not be read or set since the last call: the menu may then offer to show the palette
    // while it shows, or the reverse.
    bool TakeMenuTextRefusal() {
        const bool refused = menuTextRefused;
        menuTextRefused = false;
        return refused;
    }
    void Toggle() { ToggleVisibility(); }
    bool IsClosed() const { return closed != 0; }

    // Redraws the four sub-palette buttons and Data update.
    void RedrawButtons() const;
    // Opens or closes the sub-palette of palette button 2 to 5; a disabled button does nothing.
    void ToggleSubPaletteOfButton(int16_t item);
    // The image a palette button shows now ("" for items without one).
    const char* ButtonImage(int16_t item) const;

    uint8_t dataUpdateEnabled = 1;
    uint8_t itemsEnabled = 1;
    uint8_t subPaletteButtonsEnabled[4] = {1, 1, 1, 1};
    bool menuTextRefused = false;

private:
    void ShowAbout();
};

// The one palette of the module.
CToolsPlt& ToolsPalette();
