#include "platform/gtk/web_data.h"

#include <string>
#include <vector>

#include "platform/core/text/utf.h"
#include "platform/gtk/web_view.h"

namespace glider::gtk {

namespace {

constexpr int kDataDeadlineMs = 5000;
constexpr const wchar_t* kCookiePrefix = L"Cookie:glider@";
constexpr WebKitWebsiteDataTypes kAllData = WEBKIT_WEBSITE_DATA_ALL;

std::string Folder(const char* variable, const char* fallback) {
  const char* base = g_getenv(variable);
  std::string folder = base && *base ? base : std::string(g_get_home_dir()) + fallback;
  return folder + "/glider";
}

WebKitWebsiteDataManager* Manager() { return webkit_web_context_get_website_data_manager(SharedContext()); }

// Runs the main context until done is set or the deadline passes.
void WaitFor(const bool& done) {
  bool timedOut = false;
  guint timer = g_timeout_add(
      kDataDeadlineMs,
      +[](gpointer flag) -> gboolean {
        *static_cast<bool*>(flag) = true;
        return G_SOURCE_REMOVE;
      },
      &timedOut);
  while (!done && !timedOut) g_main_context_iteration(nullptr, TRUE);
  if (!timedOut) g_source_remove(timer);
}

struct Fetch {
  bool done = false;
  GList* records = nullptr;
};

// The stored records; the caller frees them with FreeRecords. A fetch that misses the
// deadline is abandoned to its callback.
GList* FetchRecords() {
  auto* fetch = new Fetch();
  webkit_website_data_manager_fetch(
      Manager(), kAllData, nullptr,
      +[](GObject* source, GAsyncResult* result, gpointer data) {
        auto* f = static_cast<Fetch*>(data);
        GList* records =
            webkit_website_data_manager_fetch_finish(WEBKIT_WEBSITE_DATA_MANAGER(source), result, nullptr);
        if (f->done) {  // abandoned
          g_list_free_full(records, reinterpret_cast<GDestroyNotify>(webkit_website_data_unref));
          delete f;
          return;
        }
        f->records = records;
        f->done = true;
      },
      fetch);
  WaitFor(fetch->done);
  if (!fetch->done) {
    fetch->done = true;  // the callback frees it
    return nullptr;
  }
  GList* records = fetch->records;
  delete fetch;
  return records;
}

void FreeRecords(GList* records) {
  g_list_free_full(records, reinterpret_cast<GDestroyNotify>(webkit_website_data_unref));
}

std::wstring SiteOf(WebKitWebsiteData* record) {
  const char* name = webkit_website_data_get_name(record);
  return core::Utf8ToWide(name ? name : "");
}

}  // namespace

WebKitWebContext* SharedContext() {
  static WebKitWebContext* context = [] {
    std::string data = Folder("XDG_DATA_HOME", "/.local/share");
    std::string cache = Folder("XDG_CACHE_HOME", "/.cache");
    g_mkdir_with_parents(data.c_str(), 0700);
    g_mkdir_with_parents(cache.c_str(), 0700);
    WebKitWebsiteDataManager* manager = webkit_website_data_manager_new(
        "base-data-directory", data.c_str(), "base-cache-directory", cache.c_str(), nullptr);
    webkit_cookie_manager_set_persistent_storage(webkit_website_data_manager_get_cookie_manager(manager),
                                                 (data + "/cookies.sqlite").c_str(),
                                                 WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
    WebKitWebContext* ctx = webkit_web_context_new_with_website_data_manager(manager);
    g_object_unref(manager);
    webkit_web_context_set_cache_model(ctx, WEBKIT_CACHE_MODEL_WEB_BROWSER);
    return ctx;
  }();
  return context;
}

std::vector<std::wstring> WebDataEntries() {
  std::vector<std::wstring> entries;
  GList* records = FetchRecords();
  for (GList* l = records; l; l = l->next) {
    auto* record = static_cast<WebKitWebsiteData*>(l->data);
    WebKitWebsiteDataTypes types = webkit_website_data_get_types(record);
    std::wstring site = SiteOf(record);
    if (types & WEBKIT_WEBSITE_DATA_COOKIES) entries.push_back(kCookiePrefix + site + L"/");
    if (types & ~WEBKIT_WEBSITE_DATA_COOKIES) entries.push_back(L"http://" + site + L"/");
  }
  FreeRecords(records);
  return entries;
}

bool DeleteWebDataEntry(const std::wstring& sourceUrl) {
  bool cookie = sourceUrl.rfind(kCookiePrefix, 0) == 0;
  std::wstring prefix = cookie ? kCookiePrefix : L"http://";
  if (sourceUrl.rfind(prefix, 0) != 0 || sourceUrl.back() != L'/') return false;
  std::wstring site = sourceUrl.substr(prefix.size(), sourceUrl.size() - prefix.size() - 1);
  auto types = static_cast<WebKitWebsiteDataTypes>(cookie ? WEBKIT_WEBSITE_DATA_COOKIES
                                                          : (kAllData & ~WEBKIT_WEBSITE_DATA_COOKIES));
  GList* records = FetchRecords();
  GList* match = nullptr;
  for (GList* l = records; l; l = l->next) {
    auto* record = static_cast<WebKitWebsiteData*>(l->data);
    if (SiteOf(record) == site && (webkit_website_data_get_types(record) & types))
      match = g_list_append(match, record);
  }
  bool found = match != nullptr;
  if (found) {
    struct Remove {
      bool done = false;
      bool abandoned = false;
    };
    auto* remove = new Remove();
    webkit_website_data_manager_remove(
        Manager(), types, match, nullptr,
        +[](GObject* source, GAsyncResult* result, gpointer data) {
          auto* r = static_cast<Remove*>(data);
          webkit_website_data_manager_remove_finish(WEBKIT_WEBSITE_DATA_MANAGER(source), result, nullptr);
          r->done = true;
          if (r->abandoned) delete r;
        },
        remove);
    WaitFor(remove->done);
    if (remove->done)
      delete remove;
    else
      remove->abandoned = true;
  }
  g_list_free(match);
  FreeRecords(records);
  return found;
}

}  // namespace glider::gtk
