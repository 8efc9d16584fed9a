// Calls from the client into functions of a page's script, by name.
#pragma once

#include <string>

class CBrowserView;

// The named page function with (first, second). True when the call succeeded; false when
// there is no page, no such function, or the function threw.
bool CallPageFunction(CBrowserView& view, const wchar_t* name, int first, int second);
// "WebSuperCall"(201, text), text in the ANSI code page.
bool InvokeWebSuperCall(const std::string& text, CBrowserView& view);
