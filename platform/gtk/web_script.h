// Script text for WebKit: literals, call arguments, a page that posts a form, and the
// calls of window.external that arrive as script messages.
#pragma once

#include <jsc/jsc.h>

#include <string>
#include <vector>

#include "platform/core/browser/web_engine.h"

namespace glider::gtk {

// A JavaScript string literal (double quotes) holding text.
std::string JsString(const std::wstring& text);
// The values as a JavaScript argument list.
std::string JsArguments(const std::vector<core::ScriptValue>& args);
// An HTML page that posts the url-encoded body to url as soon as it loads.
std::string PostingPage(const std::string& url, const std::string& body);
// The page's message {name, args}; false when it is not one.
bool ReadExternalCall(JSCValue* message, std::wstring& method, std::vector<core::ScriptValue>& args);

}  // namespace glider::gtk
