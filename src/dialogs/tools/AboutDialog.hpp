#pragma once
// The about box of the add-on.

// Shows the about box. For now it notes its call.
void OpenAboutDialog();
