#pragma once
// The add-on's tool palette. For now only the operations the module's life and its menu reach; each notes its
// call.

class CToolsPlt {
public:
    // Base state: no dialog, no size, default flags.
    void ResetState();
    // Closes the palette and every sub-palette.
    void Close();
    // Brings the texts of the add-on's menu items up to date.
    void UpdateMenuTexts();
    // True while the palette does not exist (neither shown nor hidden).
    bool IsClosed() const { return closed_; }
    // Shows a hidden palette, hides a shown one.
    void Toggle();
    // Creates and shows the palette.
    void Create();

private:
    bool closed_ = true;
};

// The one palette of the module.
CToolsPlt& ToolsPalette();
