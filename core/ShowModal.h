#pragma once
// Showing a window modally over its owner: the rest of the program takes no
// input, and the call returns when the window hides or is unloaded. While a
// dialog answerer stands in for the user (tests), it is told of the window,
// which is not shown.

class Form;

void ShowModal(Form& window, Form& owner);
