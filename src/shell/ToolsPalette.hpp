#pragma once
// The add-on's tool palette. For now only the operations the module's life reaches; each notes its call.

class CToolsPlt {
public:
    // Base state: no dialog, no size, default flags.
    void ResetState();
    // Closes the palette and every sub-palette.
    void Close();
    // Brings the texts of the add-on's menu items up to date.
    void UpdateMenuTexts();
};

// The one palette of the module.
CToolsPlt& ToolsPalette();
