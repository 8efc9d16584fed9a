"""The platform's web pages, written to the client's page contract. Plain HTML, small inline script."""

import html
import json

SERVERS = (("S1", "一区 晨曦"), ("S2", "二区 暮色"), ("S3", "三区 星河"))
SOCIAL_NAMES = {"qq": "QQ", "weibo": "微博", "wechat": "微信"}
GAME_TITLE = "荆棘岭·游戏中 "

STYLE = """
body { font-family: sans-serif; margin: 0; padding: 12px; background: #1d2a22; color: #e8e2c8; }
h1 { font-size: 20px; margin: 0 0 10px; }
label { display: block; margin: 6px 0; }
button, a.button { font-size: 14px; padding: 4px 12px; margin: 4px 4px 4px 0; color: #1d2a22;
  background: #e8c860; border: 1px solid #8a7020; text-decoration: none; display: inline-block; }
#calls { font-size: 12px; color: #a8c8a0; margin-top: 8px; white-space: pre-wrap; }
"""

# Shared by every page: a page function or bridge call is recorded by a GET of /record,
# and `done` runs once that request has finished (or failed), never before.
RECORD_JS = r"""
function gliderRecord(fn, args, done) {
  var q = "fn=" + encodeURIComponent(fn) + "&n=" + args.length;
  var names = ["a", "b", "c", "d"];
  for (var i = 0; i < args.length && i < names.length; i++) {
    q += "&" + names[i] + "=" + encodeURIComponent(String(args[i]));
  }
  var line = document.getElementById("calls");
  if (line) line.textContent = fn + "(" + args.join(", ") + ")\n" + line.textContent;
  var x = new XMLHttpRequest();
  x.open("GET", "/record?" + q, true);
  x.timeout = 3000;
  if (done) x.onloadend = done;
  x.send();
}
function gameUrl(server, name) {
  return "/game/play.php?wd_entergame=1&wd_server=" + encodeURIComponent(server) +
         "&wd_username=" + encodeURIComponent(name);
}
"""


def _e(text):
    return html.escape(text, quote=True)


def _data(values):
    """Values for a page's script, safe inside a <script> element."""
    return json.dumps(values, ensure_ascii=False).replace("</", "<\\/")


def page(title, body, script=""):
    return (
        '<!DOCTYPE html>\n<html lang="zh-CN"><head><meta charset="utf-8">'
        "<title>%s</title><style>%s</style></head>\n<body>\n%s\n<div id=\"calls\"></div>\n"
        "<script>%s%s</script>\n</body></html>\n" % (_e(title), STYLE, body, RECORD_JS, script)
    )


def login_page(params, session):
    account, server = session if session else ("", "S1")
    options = "".join(
        '<option value="%s"%s>%s</option>' % (sid, " selected" if sid == server else "", _e(name))
        for sid, name in SERVERS
    )
    welcome = '<p id="welcome">欢迎回来，%s</p>' % _e(account) if session else ""
    body = """<h1>荆棘岭 Thornmere</h1>%s
<form id="login-form" action="/login" method="post">
<label>账号 <input id="account" name="account" value="%s"></label>
<label>密码 <input id="password" name="password" type="password"></label>
<label>服务器 <select id="server" name="server">%s</select></label>
<button id="login" type="submit">登录游戏</button>
</form>
<p id="status"></p>
<p>其他方式登录：
<button id="qq-login" type="button" onclick="openSocial('qq')">QQ登录</button>
<a id="weibo-login" class="button" target="_blank"
 href="/thirdlogin/start.php?wd_thirdlogin=1&amp;otype=weibo&amp;server_id=%s">微博登录</a>
<button id="wechat-login" type="button" onclick="openSocial('wechat')">微信登录</button></p>
<p><a id="download-client" href="/Vemo/velk/official/Vemovelk.exe">下载微端</a></p>
<p id="client-info">客户端版本 %s，第 %s 次运行</p>""" % (
        welcome,
        _e(account),
        options,
        _e(server),
        _e(params.get("version", "?")),
        _e(params.get("runcount", "?")),
    )
    script = r"""
function $(id) { return document.getElementById(id); }
function socialUrl(otype) {
  return "/thirdlogin/start.php?wd_thirdlogin=1&otype=" + otype +
         "&server_id=" + encodeURIComponent($("server").value);
}
function openSocial(otype) { window.open(socialUrl(otype), "_blank"); }
$("server").onchange = function () { $("weibo-login").href = socialUrl("weibo"); };
$("login-form").onsubmit = function (e) {
  e.preventDefault();
  var account = $("account").value, server = $("server").value;
  if (!account) { $("status").textContent = "请输入账号"; return; }
  var x = new XMLHttpRequest();
  x.open("POST", "/login", true);
  x.setRequestHeader("Content-Type", "application/x-www-form-urlencoded");
  x.setRequestHeader("X-Requested-With", "XMLHttpRequest");
  x.onload = function () { location.href = gameUrl(server, account); };
  x.onerror = function () { $("status").textContent = "网络异常，请重试"; };
  x.send("account=" + encodeURIComponent(account) + "&server=" + encodeURIComponent(server));
};
function WebSuperCall(code, text) {
  gliderRecord("WebSuperCall", [code, text], function () {
    var info = {};
    try { info = JSON.parse(text) || {}; } catch (e) {}
    location.href = info.gameurl || gameUrl($("server").value, info.loginaccount || $("account").value);
  });
}
"""
    return page("荆棘岭 - 登录", body, script)


def game_page(params):
    server = params.get("wd_server", "")
    body = """<h1>荆棘岭 Thornmere</h1>
<p id="player">玩家 %s，服务器 %s</p>
<div id="stage" style="height: 300px; background: #2c4030;" oncontextmenu="return false">游戏画面</div>
<label>聊天 <input id="chat"></label>
<p><a id="return-login" class="button" href="/game/return.php?wd_returnlogin=1">返回登录</a></p>""" % (
        _e(params.get("wd_username", "")),
        _e(server),
    )
    script = r"""
function jjssyyllDown(x, y) { gliderRecord("jjssyyllDown", Array.prototype.slice.call(arguments)); }
function jjssyyllUp(x, y) { gliderRecord("jjssyyllUp", Array.prototype.slice.call(arguments)); }
window["7A0E52B9C61F03E8A4D7B250C9E1"] = function (a, b) {
  gliderRecord("7A0E52B9C61F03E8A4D7B250C9E1", Array.prototype.slice.call(arguments));
};
"""
    return page(GAME_TITLE + server, body, script)


def return_page():
    return page("荆棘岭 - 返回登录", "<p>正在返回登录……</p>")


def social_page(params):
    otype, server = params.get("otype", ""), params.get("server_id", "")
    name = SOCIAL_NAMES.get(otype, otype)
    body = """<h1>%s账号登录</h1>
<label>账号 <input id="account" value="%s"></label>
<button id="confirm" type="button">确认登录</button>""" % (
        _e(name),
        _e(otype + "_user01"),
    )
    script = "var PAGE = %s;\n" % _data({"otype": otype, "server": server}) + r"""
document.getElementById("confirm").onclick = function () {
  var account = document.getElementById("account").value;
  var text = JSON.stringify({
    thirdlogin: "tl-" + PAGE.otype + "-" + PAGE.server,
    loginaccount: account,
    gameurl: location.origin + gameUrl(PAGE.server, account)
  });
  gliderRecord("DoSuperCall", [101, text], function () {
    try {
      window.external.DoSuperCall(101, text);
    } catch (e) {
      gliderRecord("DoSuperCallFailed", [String(e)]);
    }
  });
};
"""
    return page(name + "账号登录", body, script)


def pay_page(params):
    body = '<h1>充值中心</h1><p id="order">游戏 %s，服务器 %s，账号 %s</p>' % (
        _e(params.get("gamename", "")),
        _e(params.get("gameserver", "")),
        _e(params.get("username", "")),
    )
    return page("荆棘岭 - 充值中心", body)


def service_page():
    return page("荆棘岭 - 客服中心", "<h1>客服中心</h1><p>客服在线时间 9:00-22:00</p>")


def site_page():
    return page("荆棘岭 - 官方网站", "<h1>荆棘岭官方网站</h1><p>最新活动与公告</p>")


def index_page(paths):
    links = "".join('<li><a href="%s">%s</a></li>' % (_e(p), _e(p)) for p in paths)
    return page("平台模拟器", "<h1>平台模拟器</h1><ul>%s</ul>" % links)


def not_found_page(path):
    return page("404", "<h1>404</h1><p>%s 不存在</p>" % _e(path))
