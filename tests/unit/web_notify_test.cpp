// Web notifications: delivery order, separate sources, and handlers owned by their source.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser/WebNotify.h"

namespace {

struct Form {
  std::vector<std::string> seen;
  void First(unsigned int code, WebNotifyWord w, WebNotifyParam l) {
    seen.push_back("first " + std::to_string(code) + " " + std::to_string(w) + " " + std::to_string(l));
  }
  void Second(unsigned int code, WebNotifyWord, WebNotifyParam) {
    seen.push_back("second " + std::to_string(code));
  }
};

TEST(WebNotify, HandlersRunInSubscriptionOrderAndSourcesDoNotMix) {
  Form form;
  CWebNotify view, bridge, silent;
  Subscribe(view, &form, &Form::First);
  Subscribe(view, &form, &Form::Second);
  Subscribe(bridge, &form, &Form::Second);
  Fire(silent, WN_TITLE_CHANGE, 0, 0);  // no handlers: nothing happens
  Fire(view, WN_BEFORE_NAVIGATE, 3, -4);
  Fire(bridge, 101, 0, 0);
  EXPECT_EQ(form.seen, (std::vector<std::string>{"first 7 3 -4", "second 7", "second 101"}));
}

TEST(WebNotify, AHandlerSubscribingDuringDeliveryDoesNotBreakTheWalk) {
  struct Growing {
    CWebNotify* source = nullptr;
    int calls = 0;
    void OnNote(unsigned int, WebNotifyWord, WebNotifyParam) {
      if (++calls == 1)
        for (int i = 0; i < 64; ++i) Subscribe(*source, this, &Growing::OnNote);
    }
  } form;
  CWebNotify source;
  form.source = &source;
  Subscribe(source, &form, &Growing::OnNote);
  Fire(source, WN_DOCUMENT_COMPLETE, 0, 0);
  EXPECT_EQ(form.calls, 65);
  EXPECT_EQ(source.handlers.size(), 65u);
}

}  // namespace
