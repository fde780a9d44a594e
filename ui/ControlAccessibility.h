#pragma once
// How the window's own controls present themselves to assistive technology (a screen reader
// through AT-SPI): Qt knows its own widgets, these are drawn by the program.
//
// - TPaintBox: its AccessibleRole (a picture, or a button for the anchor patches) and its
//   OnDescribe text; a box with OnClick can be pressed and focused.
// - TUpDown: a spin button with its position as value, increase and decrease actions.
// - TImage: a picture.
// Names and static descriptions are the widgets' own (setAccessibleName/Description).
namespace palettor {

// Registers the interfaces with Qt; the controls call it when they are made. Idempotent.
void InstallControlAccessibility();

}  // namespace palettor
