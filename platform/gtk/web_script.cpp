#include "platform/gtk/web_script.h"

#include <cmath>
#include <cstdio>

#include "platform/core/text/utf.h"

namespace glider::gtk {

namespace {

std::string HtmlAttribute(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string FormDecode(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '+') {
      out += ' ';
    } else if (c == '%' && i + 2 < text.size() && glider::core::HexDigitValue(text[i + 1]) >= 0 &&
               glider::core::HexDigitValue(text[i + 2]) >= 0) {
      out += static_cast<char>(glider::core::HexDigitValue(text[i + 1]) * 16 +
                               glider::core::HexDigitValue(text[i + 2]));
      i += 2;
    } else {
      out += c;
    }
  }
  return out;
}

core::ScriptValue ValueOf(JSCValue* v) {
  if (jsc_value_is_number(v)) return core::ScriptValue::Number(jsc_value_to_double(v));
  if (jsc_value_is_boolean(v)) return core::ScriptValue::Bool(jsc_value_to_boolean(v));
  if (jsc_value_is_null(v)) return core::ScriptValue{core::ScriptValue::Kind::Null, 0, false, {}};
  if (jsc_value_is_string(v)) {
    char* s = jsc_value_to_string(v);
    core::ScriptValue out = core::ScriptValue::String(core::Utf8ToWide(s ? s : ""));
    g_free(s);
    return out;
  }
  return core::ScriptValue{};
}

}  // namespace

std::string JsString(const std::wstring& text) {
  std::string out = "\"";
  for (wchar_t c : text) {
    if (c == L'"' || c == L'\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x2028 || c == 0x2029 || c == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
      out += buf;
    } else {
      out += core::WideToUtf8(std::wstring_view(&c, 1));
    }
  }
  return out + "\"";
}

std::string JsArguments(const std::vector<core::ScriptValue>& args) {
  std::string out;
  for (const core::ScriptValue& a : args) {
    if (!out.empty()) out += ", ";
    switch (a.kind) {
      case core::ScriptValue::Kind::Number: {
        if (std::isnan(a.number)) {
          out += "NaN";
        } else if (std::isinf(a.number)) {
          out += a.number < 0 ? "-Infinity" : "Infinity";
        } else {
          char buf[40];
          std::snprintf(buf, sizeof buf, "%.17g", a.number);
          out += buf;
        }
        break;
      }
      case core::ScriptValue::Kind::String:
        out += JsString(a.text);
        break;
      case core::ScriptValue::Kind::Bool:
        out += a.flag ? "true" : "false";
        break;
      case core::ScriptValue::Kind::Null:
        out += "null";
        break;
      case core::ScriptValue::Kind::Undefined:
        out += "undefined";
        break;
    }
  }
  return out;
}

std::string PostingPage(const std::string& url, const std::string& body) {
  std::string fields;
  size_t start = 0;
  while (start <= body.size()) {
    size_t end = body.find('&', start);
    if (end == std::string::npos) end = body.size();
    std::string pair = body.substr(start, end - start);
    if (!pair.empty()) {
      size_t eq = pair.find('=');
      std::string name = FormDecode(pair.substr(0, eq));
      std::string value = eq == std::string::npos ? "" : FormDecode(pair.substr(eq + 1));
      fields += "<input type=\"hidden\" name=\"" + HtmlAttribute(name) + "\" value=\"" +
                HtmlAttribute(value) + "\">";
    }
    start = end + 1;
  }
  return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body><form method=\"post\" action=\"" +
         HtmlAttribute(url) + "\">" + fields +
         "</form><script>document.forms[0].submit();</script></body></html>";
}

bool ReadExternalCall(JSCValue* message, std::wstring& method, std::vector<core::ScriptValue>& args) {
  if (!message || !jsc_value_is_object(message)) return false;
  JSCValue* name = jsc_value_object_get_property(message, "name");
  JSCValue* list = jsc_value_object_get_property(message, "args");
  bool ok = name && jsc_value_is_string(name) && list && jsc_value_is_array(list);
  if (ok) {
    char* n = jsc_value_to_string(name);
    method = core::Utf8ToWide(n ? n : "");
    g_free(n);
    JSCValue* length = jsc_value_object_get_property(list, "length");
    int count = length ? jsc_value_to_int32(length) : 0;
    if (length) g_object_unref(length);
    args.clear();
    for (int i = 0; i < count; ++i) {
      JSCValue* item = jsc_value_object_get_property_at_index(list, static_cast<guint>(i));
      args.push_back(item ? ValueOf(item) : core::ScriptValue{});
      if (item) g_object_unref(item);
    }
  }
  if (name) g_object_unref(name);
  if (list) g_object_unref(list);
  return ok;
}

}  // namespace glider::gtk
