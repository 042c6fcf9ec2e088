#include "outside/players/player_program.h"

#include <algorithm>
#include <cmath>

#include "outside/players/script.h"
#include "outside/players/swf_writer.h"

namespace players {
namespace {

// Above the frame rate of any FLV we make: the picture changes only on the player's frames.
constexpr double kFrameRate = 30;
// The stage size written in the header; the page decides the real size.
constexpr int kStageWidth = 400;
constexpr int kStageHeight = 300;
constexpr uint16_t kVideoCharacter = 1;
constexpr double kDefaultBufferSeconds = 3;
// A stream that has sent no description of itself by then is missing or unreadable.
constexpr double kNotFoundAfterMs = 4000;
constexpr int kBigPlaySize = 64;
// How many frames a seek while paused runs to show its new picture.
constexpr int kStillFrames = 4;
// How long the bar shows a seek's target while the runtime has not yet carried it out.
constexpr int kSeekShownMs = 1000;
// Two presses on the picture within this many milliseconds toggle full screen.
constexpr double kDoublePressMs = 400;
// How far the arrow keys move playback.
constexpr double kKeySeekSeconds = 5;
// Playback needs the data this far ahead of the picture to go on; short of it, it waits.
constexpr double kAheadSeconds = 0.5;
// While the seek thumb is dragged, the picture follows at most this often.
constexpr double kDragSeekMs = 250;
// The loading indicator: its disc, the radius of its arc and its turn per frame, in degrees.
constexpr double kLoadingDisc = 24, kLoadingArc = 14, kLoadingTurn = 12;
// The preloading poster is held after this many frames with its picture's data in; with no
// description of the file, once the clock has run this long.
constexpr int kPosterFrames = 3;
constexpr double kPosterFallbackSeconds = 1;
// A frame comes on time within this many milliseconds (one is due every 33); a frame this
// late may have starved the sound output. A playing start waits silently for this many frames
// on time in a row, for this long at most, before it starts with sound. The sound starts
// afresh at most this often.
constexpr double kSteadyGapMs = 50;
constexpr double kStallMs = 100;
constexpr int kSteadyFrames = 6;
constexpr double kCueMaxMs = 3000;
constexpr double kSoundRestartEveryMs = 1000;
// How long a browser may take to start its sound output after the click that allows it.
constexpr double kSoundOutputStartMs = 600;
// Key.getCode() of the keys the player answers.
// Whether the browser lets a page start sound on its own, asked of the page. Firefox tells it
// outright; elsewhere an audio context made now starts suspended exactly when sound must wait
// for the visitor's click. Anything but "blocked" (no bridge, an error) lets the player be.
constexpr const char* kSoundRuleProbe =
    "(function () { try {"
    " if (navigator.getAutoplayPolicy)"
    " return navigator.getAutoplayPolicy('audiocontext') === 'disallowed' ? 'blocked' : '';"
    " var C = window.AudioContext || window.webkitAudioContext; if (!C) return '';"
    " var c = new C(); var s = c.state; if (c.close) c.close();"
    " return s === 'suspended' ? 'blocked' : ''; } catch (e) { return ''; } })()";
// Asks for the first bytes of the video at the address given (handed over as a value, never
// as code), finds its description's duration there (the AMF name
// "duration", then a number: marker 0 and eight bytes, high first) and hands it back to every
// player on the page with the address, each taking only its own. Needs no more of the file.
constexpr const char* kHeadDurationFetch =
    "function (u) { try { fetch(u, { headers: { Range: 'bytes=0-8191' } }).then(function (r) {"
    " var reader = r.body.getReader(); return reader.read().then(function (c) {"
    " reader.cancel(); return c.value; }); }).then(function (b) {"
    " var s = ''; for (var i = 0; i < b.length; i++) s += String.fromCharCode(b[i]);"
    " var k = s.indexOf(String.fromCharCode(0, 8) + 'duration' + String.fromCharCode(0));"
    " if (k < 0 || k + 19 > b.length) return;"
    " var v = new DataView(b.buffer, b.byteOffset + k + 11, 8).getFloat64(0);"
    " var p = document.querySelectorAll('ruffle-object, ruffle-embed');"
    " for (var j = 0; j < p.length; j++)"
    " if (p[j].reelwrightHeadDuration) p[j].reelwrightHeadDuration(u, v);"
    " }).catch(function () {}); } catch (e) {} }";
constexpr int kKeySpace = 32, kKeyLeft = 37, kKeyRight = 39, kKeyF = 70, kKeyK = 75, kKeyM = 77;

Expr N(double value) {
  return Num(value);
}
Expr V(const std::string& name) {
  return Var(name);
}

class PlayerWriter {
 public:
  PlayerWriter(const PlayerSkin& skin, Script& s) : skin_(skin), bar_(LayoutOf(skin)), s_(s) {}

  void Write() {
    DrawingHelpers();
    ButtonDrawing();
    Options();
    Objects();
    Layout();
    SoundMark();
    Poster();
    Stream();
    Controls();
    Buffering();
    Tick();
    Start();
  }

 private:
  void Call(const std::string& name, const std::vector<Expr>& arguments = {}) {
    s_.Do(CallFunction(name, arguments));
  }
  Expr Colour(Rgb rgb) const { return N(rgb); }

  // Inside a drawing function with arguments mc, x, y, w, h and a fill begun: the rectangle's
  // outline, then the end of the fill.
  void RectangleOfArguments() {
    Expr mc = V("mc"), x = V("x"), y = V("y"), w = V("w"), h = V("h");
    s_.Do(mc.Call("moveTo", {x, y}));
    s_.Do(mc.Call("lineTo", {x + w, y}));
    s_.Do(mc.Call("lineTo", {x + w, y + h}));
    s_.Do(mc.Call("lineTo", {x, y + h}));
    s_.Do(mc.Call("lineTo", {x, y}));
    s_.Do(mc.Call("endFill"));
  }

  // fillRect, fillRound, fillGradient, polygon: the shapes everything is drawn with.
  void DrawingHelpers() {
    s_.Function("fillRect", {"mc", "x", "y", "w", "h", "c", "a"}, [&] {
      s_.Do(V("mc").Call("beginFill", {V("c"), V("a")}));
      RectangleOfArguments();
    });
    s_.Function("roundPath", {"mc", "x", "y", "w", "h", "r"}, [&] {
      Expr mc = V("mc"), x = V("x"), y = V("y"), w = V("w"), h = V("h"), r = V("r");
      s_.Do(mc.Call("moveTo", {x + r, y}));
      s_.Do(mc.Call("lineTo", {x + w - r, y}));
      s_.Do(mc.Call("curveTo", {x + w, y, x + w, y + r}));
      s_.Do(mc.Call("lineTo", {x + w, y + h - r}));
      s_.Do(mc.Call("curveTo", {x + w, y + h, x + w - r, y + h}));
      s_.Do(mc.Call("lineTo", {x + r, y + h}));
      s_.Do(mc.Call("curveTo", {x, y + h, x, y + h - r}));
      s_.Do(mc.Call("lineTo", {x, y + r}));
      s_.Do(mc.Call("curveTo", {x, y, x + r, y}));
    });
    // A circle of eight quadratic arcs, each control point on the tangents' crossing.
    s_.Function("circlePath", {"mc", "cx", "cy", "r"}, [&] {
      Expr mc = V("mc"), cx = V("cx"), cy = V("cy"), r = V("r");
      s_.Do(mc.Call("moveTo", {cx + r, cy}));
      const double kPi = 3.14159265358979323846;
      for (int k = 1; k <= 8; ++k) {
        const double end = k * kPi / 4, control = end - kPi / 8;
        const double reach = 1 / std::cos(kPi / 8);
        s_.Do(mc.Call("curveTo",
                      {cx + r * N(reach * std::cos(control)), cy + r * N(reach * std::sin(control)),
                       cx + r * N(std::cos(end)), cy + r * N(std::sin(end))}));
      }
    });
    s_.Function("fillCircle", {"mc", "cx", "cy", "r", "c", "a"}, [&] {
      s_.Do(V("mc").Call("beginFill", {V("c"), V("a")}));
      Call("circlePath", {V("mc"), V("cx"), V("cy"), V("r")});
      s_.Do(V("mc").Call("endFill"));
    });
    s_.Function("fillRound", {"mc", "x", "y", "w", "h", "r", "c", "a"}, [&] {
      s_.Do(V("mc").Call("beginFill", {V("c"), V("a")}));
      Call("roundPath", {V("mc"), V("x"), V("y"), V("w"), V("h"), V("r")});
      s_.Do(V("mc").Call("endFill"));
    });
    s_.Function("fillGradient", {"mc", "x", "y", "w", "h", "top", "bottom"}, [&] {
      Expr box = Object({{"matrixType", Str("box")},
                         {"x", V("x")},
                         {"y", V("y")},
                         {"w", V("w")},
                         {"h", V("h")},
                         {"r", V("Math").Get("PI") / N(2)}});
      s_.Do(
          V("mc").Call("beginGradientFill", {Str("linear"), Array({V("top"), V("bottom")}),
                                             Array({N(100), N(100)}), Array({N(0), N(255)}), box}));
      RectangleOfArguments();
    });
    // points: [x0, y0, x1, y1, ...] as fractions of `size`.
    s_.Function("polygon", {"mc", "points", "size", "c"}, [&] {
      s_.Do(V("mc").Call("beginFill", {V("c"), N(100)}));
      s_.Do(V("mc").Call("moveTo",
                         {V("points").Get("0") * V("size"), V("points").Get("1") * V("size")}));
      s_.Local("i", N(2));
      s_.While(V("i") < V("points").Get("length"), [&] {
        Expr point_x = CallFunction("itemAt", {V("points"), V("i")});
        Expr point_y = CallFunction("itemAt", {V("points"), V("i") + N(1)});
        s_.Do(V("mc").Call("lineTo", {point_x * V("size"), point_y * V("size")}));
        s_.Set("i", V("i") + N(2));
      });
      s_.Do(V("mc").Call("endFill"));
    });
    s_.Function("itemAt", {"points", "i"}, [&] {
      // points[i]: a member named by a number.
      s_.Return(Expr([](ActionAssembler& a) {
        a.Push({std::string("points")});
        a.Op(kActionGetVariable);
        a.Push({std::string("i")});
        a.Op(kActionGetVariable);
        a.Op(kActionGetMember);
      }));
    });
  }

  // drawButton(btn, kind): the face under the icon, then the icon in the plain or hover colour.
  void ButtonDrawing() {
    const double b = bar_.button;
    s_.Function("drawButton", {"btn", "kind"}, [&] {
      Expr btn = V("btn");
      s_.Do(btn.Call("clear"));
      s_.Local("c", Choose(btn.Get("hover") == Bool(true), Colour(skin_.icon_hover),
                           Colour(skin_.icon)));
      switch (skin_.button_shape) {
        case ButtonShape::kRound:
          Call("fillCircle",
               {btn, N(b / 2), N(b / 2), N(b / 2), Colour(skin_.button_fill), N(100)});
          break;
        case ButtonShape::kRounded:
          Call("fillRound", {btn, N(0), N(0), N(b), N(b), N(4), Colour(skin_.button_fill), N(100)});
          break;
        case ButtonShape::kBare:
          // Invisible, but it still takes the clicks round the icon.
          Call("fillRect", {btn, N(0), N(0), N(b), N(b), N(0), N(0)});
          break;
      }
      s_.If(V("kind") == Str("play"), [&] {
        Call("polygon",
             {btn, Array({N(0.38), N(0.27), N(0.74), N(0.5), N(0.38), N(0.73)}), N(b), V("c")});
      });
      s_.If(V("kind") == Str("pause"), [&] {
        Call("fillRect", {btn, N(0.31 * b), N(0.28 * b), N(0.14 * b), N(0.44 * b), V("c"), N(100)});
        Call("fillRect", {btn, N(0.55 * b), N(0.28 * b), N(0.14 * b), N(0.44 * b), V("c"), N(100)});
      });
      s_.If(V("kind") == Str("sound") || V("kind") == Str("muted"), [&] {
        Call("polygon", {btn,
                         Array({N(0.2), N(0.41), N(0.32), N(0.41), N(0.5), N(0.25), N(0.5), N(0.75),
                                N(0.32), N(0.59), N(0.2), N(0.59)}),
                         N(b), V("c")});
        s_.Do(btn.Call("lineStyle", {N(std::max(1.5, b / 14)), V("c"), N(100)}));
        s_.If(
            V("kind") == Str("sound"),
            [&] {
              s_.Do(btn.Call("moveTo", {N(0.6 * b), N(0.38 * b)}));
              s_.Do(btn.Call("curveTo", {N(0.69 * b), N(0.5 * b), N(0.6 * b), N(0.62 * b)}));
              s_.Do(btn.Call("moveTo", {N(0.68 * b), N(0.29 * b)}));
              s_.Do(btn.Call("curveTo", {N(0.83 * b), N(0.5 * b), N(0.68 * b), N(0.71 * b)}));
            },
            [&] {
              s_.Do(btn.Call("moveTo", {N(0.6 * b), N(0.39 * b)}));
              s_.Do(btn.Call("lineTo", {N(0.81 * b), N(0.61 * b)}));
              s_.Do(btn.Call("moveTo", {N(0.81 * b), N(0.39 * b)}));
              s_.Do(btn.Call("lineTo", {N(0.6 * b), N(0.61 * b)}));
            });
        s_.Do(btn.Call("lineStyle"));
      });
      // Four corners: pointing out to go to full screen, in to come back from it.
      s_.If(V("kind") == Str("enterFull") || V("kind") == Str("leaveFull"), [&] {
        s_.Do(btn.Call("lineStyle", {N(std::max(1.5, b / 14)), V("c"), N(100)}));
        const double reach = 0.25 * b, arm = 0.12 * b;
        for (const double sx : {-1.0, 1.0}) {
          for (const double sy : {-1.0, 1.0}) {
            const double x = b / 2 + sx * reach, y = b / 2 + sy * reach;
            s_.If(
                V("kind") == Str("enterFull"),
                [&] {
                  s_.Do(btn.Call("moveTo", {N(x - sx * arm), N(y)}));
                  s_.Do(btn.Call("lineTo", {N(x), N(y)}));
                  s_.Do(btn.Call("lineTo", {N(x), N(y - sy * arm)}));
                },
                [&] {
                  const double ix = x - sx * arm, iy = y - sy * arm;
                  s_.Do(btn.Call("moveTo", {N(ix + sx * arm), N(iy)}));
                  s_.Do(btn.Call("lineTo", {N(ix), N(iy)}));
                  s_.Do(btn.Call("lineTo", {N(ix), N(iy + sy * arm)}));
                });
          }
        }
        s_.Do(btn.Call("lineStyle"));
      });
      s_.If(V("kind") == Str("info"), [&] {
        s_.Do(btn.Call("lineStyle", {N(std::max(1.5, b / 16)), V("c"), N(100)}));
        Call("circlePath", {btn, N(0.5 * b), N(0.5 * b), N(0.28 * b)});
        s_.Do(btn.Call("lineStyle"));
        Call("fillRect", {btn, N(0.46 * b), N(0.32 * b), N(0.08 * b), N(0.08 * b), V("c"), N(100)});
        Call("fillRect", {btn, N(0.46 * b), N(0.45 * b), N(0.08 * b), N(0.23 * b), V("c"), N(100)});
      });
    });
    s_.Function("refreshButtons", {}, [&] {
      Call("drawButton", {V("bar").Get("playBtn"), Choose(V("paused"), Str("play"), Str("pause"))});
      Call("drawButton", {V("bar").Get("muteBtn"), Choose(V("muted"), Str("muted"), Str("sound"))});
      Call("drawButton", {V("bar").Get("infoBtn"), Str("info")});
      Call("drawButton", {V("bar").Get("fullBtn"), Choose(CallFunction("isFullScreen"),
                                                          Str("leaveFull"), Str("enterFull"))});
      s_.SetMember(V("bigPlay"), "_visible",
                   V("paused") && !V("messageShown") && !V("infoBox").Get("_visible"));
      s_.SetMember(
          V("soundMark"), "_visible",
          V("soundBlocked") && V("started") && !V("messageShown") && !V("infoBox").Get("_visible"));
    });
  }

  // The FlashVars, read once; anything missing or malformed falls back to what a page
  // without that variable would want.
  void Options() {
    s_.SetMember(V("Stage"), "scaleMode", Str("noScale"));
    s_.SetMember(V("Stage"), "align", Str("TL"));
    s_.Set("bufferSeconds", CallFunction("parseFloat", {V("bufferTime")}));
    s_.If(CallFunction("isNaN", {V("bufferSeconds")}) || V("bufferSeconds") < N(0) ||
              V("bufferSeconds") > N(600),
          [&] { s_.Set("bufferSeconds", N(kDefaultBufferSeconds)); });
    s_.Set("wantPlay", V("autoPlay") != Str("false"));
    s_.Set("preload", V("startStreaming") == Str("true"));
    s_.Set("chromeOn", V("hasVideoChrome") != Str("false"));
    s_.Set("source", Choose(V("contentPath") == Undefined(), Str(""), ToString(V("contentPath"))));
    s_.Set("redirect",
           Choose(V("redirectURL") == Undefined(), Str(""), ToString(V("redirectURL"))));
    // Only a web address may take the visitor away: a "javascript:" or "data:" one would run
    // in the page, whatever put it into the FlashVars.
    s_.Set("scheme", V("redirect").Call("substr", {N(0), N(8)}).Call("toLowerCase"));
    s_.If(!(V("scheme").Call("substr", {N(0), N(7)}) == Str("http://") ||
            V("scheme") == Str("https://")),
          [&] { s_.Set("redirect", Str("")); });
    s_.Set("affiliate",
           Choose(V("affiliateID") == Undefined(), Str(""), ToString(V("affiliateID"))));
    for (const char* flag : {"started", "paused", "ended", "muted", "dragging", "posterPending",
                             "messageShown", "gotData", "soundBlocked", "pressGaveSound",
                             "pressOnPicture", "cueing", "soundAdrift"})
      s_.Set(flag, Bool(false));
    for (const char* number :
         {"duration", "videoWidth", "videoHeight", "dragFraction", "loadStart", "seekWidth",
          "lastFrameAt", "steadyFrames", "soundRestartAt", "soundRecheckAt", "cueFrom"})
      s_.Set(number, N(0));
    s_.Set("keyTimes", Undefined());
    s_.Set("seekLook", Str(""));
    s_.Set("stillFrames", N(0));
    s_.Set("stillFrom", N(0));
    s_.Set("stillWait", N(0));
    s_.Set("seekShown", N(-1));
    s_.Set("seekShownAt", N(0));
    s_.Set("lastPress", N(-kDoublePressMs));
    s_.Set("heldKey", N(-1));
  }

  Expr NewClip(const Expr& parent, const std::string& name, int depth) {
    return parent.Call("createEmptyMovieClip", {Str(name), N(depth)});
  }

  Expr NewTextFormat(int size, Rgb colour, const std::string& align) {
    return Expr([=, this](ActionAssembler& a) {
      New("TextFormat").Emit(a);
      for (const auto& [member, value] :
           std::vector<std::pair<std::string, Expr>>{{"font", Str(skin_.font)},
                                                     {"size", N(size)},
                                                     {"color", N(colour)},
                                                     {"align", Str(align)}}) {
        a.Op(kActionPushDuplicate);
        a.Push({member});
        value.Emit(a);
        a.Op(kActionSetMember);
      }
    });
  }

  void TextField(const Expr& parent, const std::string& name, int depth, int size, Rgb colour,
                 const std::string& align) {
    s_.Do(parent.Call("createTextField", {Str(name), N(depth), N(0), N(0), N(100), N(20)}));
    Expr field = parent.Get(name);
    s_.SetMember(field, "selectable", Bool(false));
    s_.Do(field.Call("setNewTextFormat", {NewTextFormat(size, colour, align)}));
  }

  // Depths in _root, one clip each (a new clip at a taken depth replaces the old one): the
  // video 1, the poster 2, sound 5, the bar 10, the big play button 20, the loading indicator 22,
  // the "Click for sound" mark 25, the message 30, the information box 40.
  void Objects() {
    Expr root = V("_root");
    s_.Set("bar", NewClip(root, "bar", 10));
    s_.Set("bigPlay", NewClip(root, "bigPlay", 20));
    s_.Set("infoBox", NewClip(root, "infoBox", 40));
    s_.Set("soundClip", NewClip(root, "soundClip", 5));
    s_.Do(NewClip(V("bar"), "playBtn", 1));
    s_.Do(NewClip(V("bar"), "seek", 2));
    s_.Do(NewClip(V("bar"), "muteBtn", 4));
    s_.Do(NewClip(V("bar"), "infoBtn", 5));
    s_.Do(NewClip(V("bar"), "fullBtn", 6));
    TextField(V("bar"), "timeText", 3, skin_.font_size, skin_.icon, "center");
    TextField(root, "message", 30, 15, 0xFFFFFF, "center");
    s_.SetMember(root.Get("message"), "wordWrap", Bool(true));
    s_.SetMember(root.Get("message"), "_visible", Bool(false));
    TextField(V("infoBox"), "heading", 1, 15, 0xFFFFFF, "center");
    TextField(V("infoBox"), "label", 2, 12, 0xC8D0DA, "center");
    s_.SetMember(V("infoBox").Get("label"), "multiline", Bool(true));
    s_.SetMember(V("infoBox").Get("label"), "wordWrap", Bool(true));
    s_.SetMember(V("infoBox"), "_visible", Bool(false));

    // The big play button: a translucent disc with the triangle, drawn once.
    const double size = kBigPlaySize;
    Call("fillCircle", {V("bigPlay"), N(size / 2), N(size / 2), N(size / 2), N(0x000000), N(60)});
    s_.Do(V("bigPlay").Call("lineStyle", {N(3), N(0xFFFFFF), N(90)}));
    Call("circlePath", {V("bigPlay"), N(size / 2), N(size / 2), N(size / 2 - 1.5)});
    s_.Do(V("bigPlay").Call("lineStyle"));
    Call("polygon", {V("bigPlay"), Array({N(0.4), N(0.28), N(0.74), N(0.5), N(0.4), N(0.72)}),
                     N(size), N(0xFFFFFF)});
  }

  // layout(): places everything for the stage's current size.
  void Layout() {
    const double bh = skin_.bar_height, p = bar_.padding, tw = bar_.time_width;
    s_.Function("isFullScreen", {},
                [&] { s_.Return(V("Stage").Get("displayState") == Str("fullScreen")); });
    s_.Function("layout", {}, [&] {
      Expr root = V("_root");
      s_.Local("W", V("Stage").Get("width"));
      s_.Local("H", V("Stage").Get("height"));
      // Full screen is all picture and bar: no frame round them.
      s_.Local("c", Choose(V("chromeOn") && !CallFunction("isFullScreen"), N(skin_.chrome), N(0)));
      s_.Local("vx", V("c"));
      s_.Local("vy", V("c"));
      s_.Local("vw", Max(N(0), V("W") - N(2) * V("c")));
      s_.Local("vh", Max(N(0), V("H") - N(2) * V("c") - N(bh)));
      s_.Do(root.Call("clear"));
      s_.If(V("chromeOn"), [&] {
        Call("fillGradient", {root, N(0), N(0), V("W"), V("H"), Colour(skin_.chrome_top),
                              Colour(skin_.chrome_bottom)});
      });
      Call("fillRect", {root, V("vx"), V("vy"), V("vw"), V("vh"), Colour(skin_.screen), N(100)});

      // The video keeps its shape: scaled to fit, centred, the rest left to the screen colour.
      s_.Local("w", V("vw"));
      s_.Local("h", V("vh"));
      s_.If(V("videoWidth") > N(0) && V("videoHeight") > N(0), [&] {
        s_.Local("scale", Min(V("vw") / V("videoWidth"), V("vh") / V("videoHeight")));
        s_.Set("w", V("videoWidth") * V("scale"));
        s_.Set("h", V("videoHeight") * V("scale"));
      });
      Expr video = V("video");
      s_.SetMember(video, "_x", V("vx") + (V("vw") - V("w")) / N(2));
      s_.SetMember(video, "_y", V("vy") + (V("vh") - V("h")) / N(2));
      s_.SetMember(video, "_width", V("w"));
      s_.SetMember(video, "_height", V("h"));

      Expr bar = V("bar");
      s_.Local("bw", Max(N(0), V("W") - N(2) * V("c")));
      s_.SetMember(bar, "_x", V("c"));
      s_.SetMember(bar, "_y", V("H") - V("c") - N(bh));
      s_.Do(bar.Call("clear"));
      Call("fillGradient",
           {bar, N(0), N(0), V("bw"), N(bh), Colour(skin_.bar_top), Colour(skin_.bar_bottom)});
      Call("fillRect", {bar, N(0), N(0), V("bw"), N(1), Colour(skin_.bar_line), N(100)});
      s_.SetMember(bar.Get("playBtn"), "_x", N(p));
      s_.SetMember(bar.Get("playBtn"), "_y", N(p));
      s_.Set("seekWidth", Max(N(10), V("bw") - N(bar_.AroundSeek())));
      s_.SetMember(bar.Get("seek"), "_x", N(bar_.SeekX()));
      Expr time = bar.Get("timeText");
      s_.SetMember(time, "_x", N(bar_.SeekX()) + V("seekWidth") + N(p));
      s_.SetMember(time, "_y", N((bh - skin_.font_size * 1.5) / 2 - 1));
      s_.SetMember(time, "_width", N(tw));
      s_.SetMember(time, "_height", N(skin_.font_size * 1.5 + 2));
      for (const auto& [name, which] :
           {std::pair{"muteBtn", RightButton::kMute}, std::pair{"infoBtn", RightButton::kInfo},
            std::pair{"fullBtn", RightButton::kFullScreen}}) {
        s_.SetMember(bar.Get(name), "_x", V("bw") - N(bar_.FromRight(which)));
        s_.SetMember(bar.Get(name), "_y", N(p));
      }
      // Where a double press on the picture counts.
      s_.Set("pictureArea",
             Object({{"x", V("vx")}, {"y", V("vy")}, {"w", V("vw")}, {"h", V("vh")}}));

      s_.SetMember(V("bigPlay"), "_x", V("vx") + (V("vw") - N(kBigPlaySize)) / N(2));
      s_.SetMember(V("bigPlay"), "_y", V("vy") + (V("vh") - N(kBigPlaySize)) / N(2));
      Expr message = root.Get("message");
      s_.SetMember(message, "_x", V("vx") + N(10));
      s_.SetMember(message, "_width", Max(N(10), V("vw") - N(20)));
      s_.SetMember(message, "_height", N(44));
      s_.SetMember(message, "_y", V("vy") + (V("vh") - N(44)) / N(2));
      Call("layoutInfo", {V("vx"), V("vy"), V("vw"), V("vh")});
      Call("layoutPoster", {V("vx"), V("vy"), V("vw"), V("vh")});
      s_.SetMember(V("soundMark"), "_x", V("vx") + N(8));
      s_.SetMember(V("soundMark"), "_y", V("vy") + N(8));
      Call("drawSeek");
    });

    s_.Function("layoutInfo", {"vx", "vy", "vw", "vh"}, [&] {
      Expr box = V("infoBox");
      Expr text = box.Get("label");
      s_.Local("bw", Min(N(260), V("vw") - N(16)));
      s_.Local("bh", Choose(V("affiliate") == Str(""), N(62), N(80)));
      s_.Do(box.Call("clear"));
      Call("fillRound", {box, N(0), N(0), V("bw"), V("bh"), N(8), N(0x000000), N(85)});
      s_.Do(box.Call("lineStyle", {N(1), Colour(skin_.played), N(100)}));
      Call("roundPath", {box, N(0.5), N(0.5), V("bw") - N(1), V("bh") - N(1), N(8)});
      s_.Do(box.Call("lineStyle"));
      Expr heading = box.Get("heading");
      s_.SetMember(heading, "_x", N(8));
      s_.SetMember(heading, "_y", N(9));
      s_.SetMember(heading, "_width", V("bw") - N(16));
      s_.SetMember(heading, "_height", N(22));
      s_.SetMember(text, "_x", N(8));
      s_.SetMember(text, "_y", N(32));
      s_.SetMember(text, "_width", V("bw") - N(16));
      s_.SetMember(text, "_height", V("bh") - N(36));
      s_.SetMember(box, "_x", V("vx") + (V("vw") - V("bw")) / N(2));
      s_.SetMember(box, "_y", V("vy") + (V("vh") - V("bh")) / N(2));
    });
  }

  // When the browser holds back sound until the visitor clicks, a playing video says so in the
  // corner of the picture: a struck-out speaker and "Click for sound", until the first press.
  void SoundMark() {
    const double height = 26, icon = 24;
    s_.Set("soundMark", NewClip(V("_root"), "soundMark", 25));
    s_.SetMember(V("soundMark"), "_visible", Bool(false));
    TextField(V("soundMark"), "label", 1, 13, 0xFFFFFF, "left");
    Expr label = V("soundMark").Get("label");
    s_.SetMember(label, "autoSize", Str("left"));
    s_.SetMember(label, "text", Str("Click for sound"));
    s_.SetMember(label, "_x", N(icon + 2));
    s_.SetMember(label, "_y", (N(height) - label.Get("_height")) / N(2));
    Expr mark = V("soundMark");
    Call("fillRound", {mark, N(0), N(0), N(icon + 10) + label.Get("_width"), N(height),
                       N(height / 2), N(0x000000), N(70)});
    const double x = 6, y = (height - icon) / 2 + 1, u = icon - 2;
    s_.Do(mark.Call("beginFill", {N(0xFFFFFF), N(100)}));
    const double speaker[][2] = {{0.12, 0.38}, {0.26, 0.38}, {0.44, 0.22},
                                 {0.44, 0.78}, {0.26, 0.62}, {0.12, 0.62}};
    s_.Do(mark.Call("moveTo", {N(x + speaker[0][0] * u), N(y + speaker[0][1] * u)}));
    for (const auto& point : speaker)
      s_.Do(mark.Call("lineTo", {N(x + point[0] * u), N(y + point[1] * u)}));
    s_.Do(mark.Call("endFill"));
    s_.Do(mark.Call("lineStyle", {N(2), N(0xFFFFFF), N(100)}));
    s_.Do(mark.Call("moveTo", {N(x + 0.56 * u), N(y + 0.38 * u)}));
    s_.Do(mark.Call("lineTo", {N(x + 0.78 * u), N(y + 0.62 * u)}));
    s_.Do(mark.Call("moveTo", {N(x + 0.78 * u), N(y + 0.38 * u)}));
    s_.Do(mark.Call("lineTo", {N(x + 0.56 * u), N(y + 0.62 * u)}));
    s_.Do(mark.Call("lineStyle"));

    s_.Function("soundRuleBlocks", {}, [&] {
      Expr bridge = V("flash").Get("external").Get("ExternalInterface");
      s_.If(!(bridge.Get("available") == Bool(true)), [&] { s_.Return(Bool(false)); });
      s_.Return(bridge.Call("call", {Str("eval"), Str(kSoundRuleProbe)}) == Str("blocked"));
    });
  }

  // A paused start shows the poster that publishing writes beside the video (its name with
  // ".jpg" for ".flv") under the big play button, rather than black, until the video shows a
  // picture. The picture alone is fetched, not the video. A missing poster leaves the black.
  void Poster() {
    s_.Set("poster", NewClip(V("_root"), "poster", 2));
    s_.Set("posterWidth", N(0));
    s_.Set("posterHeight", N(0));
    s_.Function("posterAddress", {}, [&] {
      Expr source = V("source");
      s_.If(source.Get("length") < N(5) ||
                source.Call("substr", {source.Get("length") - N(4)}).Call("toLowerCase") !=
                    Str(".flv"),
            [&] { s_.Return(Str("")); });
      s_.Return(
          CallFunction("pageAddress",
                       {source.Call("substr", {N(0), source.Get("length") - N(4)}) + Str(".jpg")}));
    });
    s_.Function("loadPoster", {}, [&] {
      s_.Local("address", CallFunction("posterAddress"));
      s_.If(V("address") == Str(""), [&] { s_.Return(); });
      s_.Set("posterWatch", New("Object"));
      // Its own size is known only once it is in; then it is fitted like the video.
      s_.SetMember(V("posterWatch"), "onLoadInit", s_.Lambda({"clip"}, [&] {
        s_.Set("posterWidth", V("clip").Get("_width"));
        s_.Set("posterHeight", V("clip").Get("_height"));
        Call("layout");
      }));
      s_.Set("posterLoader", New("MovieClipLoader"));
      s_.Do(V("posterLoader").Call("addListener", {V("posterWatch")}));
      s_.Do(V("posterLoader").Call("loadClip", {V("address"), V("poster")}));
    });
    // The duration shown before the stream has described itself; nothing else relies on it.
    s_.Set("headDuration", N(0));
    s_.Function("askHeadDuration", {}, [&] {
      Expr bridge = V("flash").Get("external").Get("ExternalInterface");
      s_.If(!(bridge.Get("available") == Bool(true)) || V("source") == Str(""),
            [&] { s_.Return(); });
      s_.Local("address", CallFunction("pageAddress", {V("source")}));
      s_.Do(bridge.Call("addCallback",
                        {Str("reelwrightHeadDuration"), Null(), s_.Lambda({"from", "seconds"}, [&] {
                           s_.If(V("from") == V("address") &&
                                     TypeOf(V("seconds")) == Str("number") && V("seconds") > N(0) &&
                                     V("seconds") < N(1e7),
                                 [&] {
                                   s_.Set("headDuration", V("seconds"));
                                   Call("drawSeek");
                                 });
                         })}));
      s_.Do(bridge.Call("call", {Str(kHeadDurationFetch), V("address")}));
    });
    s_.Function("layoutPoster", {"vx", "vy", "vw", "vh"}, [&] {
      s_.If(!(V("posterWidth") > N(0) && V("posterHeight") > N(0)), [&] { s_.Return(); });
      s_.Local("scale", Min(V("vw") / V("posterWidth"), V("vh") / V("posterHeight")));
      s_.SetMember(V("poster"), "_width", V("posterWidth") * V("scale"));
      s_.SetMember(V("poster"), "_height", V("posterHeight") * V("scale"));
      s_.SetMember(V("poster"), "_x", V("vx") + (V("vw") - V("posterWidth") * V("scale")) / N(2));
      s_.SetMember(V("poster"), "_y", V("vy") + (V("vh") - V("posterHeight") * V("scale")) / N(2));
    });
  }

  void Stream() {
    s_.Set("connection", New("NetConnection"));
    s_.Do(V("connection").Call("connect", {Null()}));
    s_.Set("stream", New("NetStream", {V("connection")}));
    s_.Do(V("stream").Call("setBufferTime", {V("bufferSeconds")}));
    s_.Do(V("video").Call("attachVideo", {V("stream")}));
    s_.Do(V("soundClip").Call("attachAudio", {V("stream")}));
    s_.Set("sound", New("Sound", {V("soundClip")}));

    // The runtime plays a stream's sound one piece after another from where it began, and
    // never puts it back in step with the picture: whatever held the sound back (a slow frame
    // at the start, a busy machine starving the sound output, a browser that waits for a
    // click) leaves it that far behind for good, and a pause lets the sound already queued
    // play on. Attaching the stream afresh drops that sound; the next sound starts with the
    // picture.
    s_.Function("restartSound", {}, [&] {
      s_.Do(V("soundClip").Call("attachAudio", {Bool(false)}));
      s_.Do(V("soundClip").Call("attachAudio", {V("stream")}));
      s_.Set("soundAdrift", Bool(false));
      s_.Set("soundRestartAt", Timer());
    });
    s_.Function("pauseStream", {"on"}, [&] {
      s_.Do(V("stream").Call("pause", {V("on")}));
      s_.If(V("on"), [&] { Call("restartSound"); });
    });

    s_.Function("applyVolume", {}, [&] {
      s_.Do(V("sound").Call(
          "setVolume",
          {Choose(V("muted") || V("posterPending") || V("cueing") || V("stillFrames") > N(0), N(0),
                  N(100))}));
    });
    // While a message stands, the bar shows the player as stopped; if the video comes to life
    // after all, the message goes and it plays on.
    s_.Function("showMessage", {"text"}, [&] {
      s_.Set("messageShown", Bool(true));
      s_.Set("paused", Bool(true));
      s_.SetMember(V("_root").Get("message"), "text", V("text"));
      s_.SetMember(V("_root").Get("message"), "_visible", Bool(true));
      Call("refreshButtons");
    });
    s_.Function("hideMessage", {}, [&] {
      s_.Set("messageShown", Bool(false));
      s_.Set("paused", V("posterPending"));
      s_.SetMember(V("_root").Get("message"), "_visible", Bool(false));
      Call("refreshButtons");
    });
    s_.Function("startStream", {}, [&] {
      s_.Set("started", Bool(true));
      s_.Set("loadStart", Timer());
      s_.If(V("source") == Str(""), [&] {
        Call("showMessage", {Str("Video not found")});
        s_.Return();
      });
      s_.Do(V("stream").Call("play", {CallFunction("pageAddress", {V("source")})}));
    });
    // The page names the video relative to itself, but a runtime may resolve a stream's
    // address against the player's; when the player lies elsewhere (an external player
    // location) that finds nothing. Ask the page where it is and resolve against that.
    s_.Function("pageAddress", {"path"}, [&] {
      Expr path = V("path");
      s_.If(path.Call("indexOf", {Str("://")}) >= N(0) || path.Call("charAt", {N(0)}) == Str("/"),
            [&] { s_.Return(path); });
      Expr bridge = V("flash").Get("external").Get("ExternalInterface");
      s_.If(!(bridge.Get("available") == Bool(true)), [&] { s_.Return(path); });
      s_.Local("page", bridge.Call("call", {Str("eval"), Str("location.href")}));
      s_.If(TypeOf(V("page")) != Str("string") || !(V("page").Call("indexOf", {Str("://")}) > N(0)),
            [&] { s_.Return(path); });
      for (const char* end : {"#", "?"}) {
        s_.Local("cut", V("page").Call("indexOf", {Str(end)}));
        s_.If(V("cut") >= N(0), [&] {
          s_.Set("page", V("page").Call("substr", {N(0), V("cut")}));
        });
      }
      s_.Return(V("page").Call("substr", {N(0), V("page").Call("lastIndexOf", {Str("/")}) + N(1)}) +
                path);
    });

    s_.SetMember(V("stream"), "onStatus", s_.Lambda({"info"}, [&] {
      Expr code = V("info").Get("code");
      s_.If(code == Str("NetStream.Seek.Notify"), [&] { s_.Set("seekShown", N(-1)); });
      s_.If(code == Str("NetStream.Play.StreamNotFound"),
            [&] { Call("showMessage", {Str("Video not found: ") + V("source")}); });
      s_.If(code == Str("NetStream.Play.Stop"), [&] {
        // The few silent frames that fetch the picture after a seek while paused can reach the
        // end (a seek near it, a slow frame, a video shorter than its metadata): the player
        // stays paused there, and the end comes when play is pressed.
        s_.If(V("stillFrames") > N(0), [&] {
          s_.Set("stillFrames", N(0));
          Call("pauseStream", {Bool(true)});
          Call("applyVolume");
          s_.Return();
        });
        s_.If(
            V("redirect") != Str(""), [&] { s_.GetUrl(V("redirect"), Str("_self")); },
            [&] {
              s_.Set("ended", Bool(true));
              s_.Set("paused", Bool(true));
              Call("pauseStream", {Bool(true)});
              Call("refreshButtons");
            });
      });
    }));
    // It comes again when playback passes the start: only the values matter.
    s_.SetMember(V("stream"), "onMetaData", s_.Lambda({"data"}, [&] {
      s_.If(V("data").Get("duration") > N(0),
            [&] { s_.Set("duration", ToNumber(V("data").Get("duration"))); });
      s_.If(V("data").Get("width") > N(0) && V("data").Get("height") > N(0), [&] {
        s_.Set("videoWidth", ToNumber(V("data").Get("width")));
        s_.Set("videoHeight", ToNumber(V("data").Get("height")));
        Call("layout");
      });
      s_.If(V("data").Get("keyframes").Get("times").Get("length") > N(0),
            [&] { s_.Set("keyTimes", V("data").Get("keyframes").Get("times")); });
      Call("readIndex", {V("data").Get("keyframes")});
    }));
  }

  void Controls() {
    s_.Function("togglePlay", {}, [&] {
      s_.If(V("messageShown"), [&] { s_.Return(); });
      s_.Set("cueing", Bool(false));
      s_.If(
          !V("started"),
          [&] {
            s_.Set("paused", Bool(false));
            Call("startStream");
          },
          [&] {
            s_.If(
                V("posterPending"),
                [&] {
                  s_.Set("posterPending", Bool(false));
                  s_.Set("paused", Bool(false));
                },
                [&] {
                  s_.If(
                      V("ended"),
                      [&] {
                        s_.Set("ended", Bool(false));
                        s_.Do(V("stream").Call("seek", {N(0)}));
                        Call("pauseStream", {Bool(false)});
                        s_.Set("paused", Bool(false));
                      },
                      [&] {
                        s_.Set("paused", !V("paused"));
                        Call("pauseStream", {V("paused")});
                      });
                });
          });
      Call("applyVolume");
      Call("refreshButtons");
    });
    s_.Function("toggleMute", {}, [&] {
      s_.Set("muted", !V("muted"));
      Call("applyVolume");
      Call("refreshButtons");
    });
    s_.Function("toggleInfo", {}, [&] {
      s_.SetMember(V("infoBox").Get("heading"), "text", Str(kPlayerName));
      s_.Local("text", Str(skin_.title == kPlayerName ? "" : skin_.title + " skin, ") +
                           Str("version ") + Str(kPlayerVersion));
      s_.If(V("affiliate") != Str(""),
            [&] { s_.Set("text", V("text") + Str("\nAffiliate ID: ") + V("affiliate")); });
      s_.SetMember(V("infoBox").Get("label"), "text", V("text"));
      s_.SetMember(V("infoBox"), "_visible", !V("infoBox").Get("_visible"));
      Call("refreshButtons");
    });
    // The last keyframe the file lists at or before t, or the start.
    s_.Function("keyframeAtOrBefore", {"t"}, [&] {
      s_.Local("best", N(0));
      s_.Local("i", N(0));
      s_.While(V("i") < V("keyTimes").Get("length"), [&] {
        s_.Local("k", ToNumber(CallFunction("itemAt", {V("keyTimes"), V("i")})));
        s_.If(V("k") <= V("t") && V("k") > V("best"), [&] { s_.Set("best", V("k")); });
        s_.Set("i", V("i") + N(1));
      });
      s_.Return(V("best"));
    });
    s_.Function("seekTo", {"t"}, [&] {
      // A seek puts the sound back in step as the cue would: the cue has nothing left to do.
      s_.If(V("cueing"), [&] {
        s_.Set("cueing", Bool(false));
        Call("applyVolume");
      });
      s_.If(CallFunction("deferSeek", {V("t")}), [&] { s_.Return(); });
      // The runtime carries out a seek at its next turn of the stream: till then the bar
      // shows the target, not the old time for a frame.
      s_.Set("seekShown", V("t"));
      s_.Set("seekShownAt", Timer());
      // The stream can only start at a keyframe, and the runtime picks the first one after a
      // forward target and the last one before a backward target. When the file lists its
      // keyframes, aim at the last one at or before the target, from just before it going
      // forward and from just after it going back, so the seek lands on that one.
      s_.If(
          V("keyTimes") != Undefined(),
          [&] {
            s_.Local("best", CallFunction("keyframeAtOrBefore", {V("t")}));
            s_.Set("t", Choose(V("best") < V("stream").Get("time"), V("best") + N(0.05),
                               Max(N(0), V("best") - N(0.1))));
          },
          [&] { s_.If(V("t") < V("stream").Get("time"), [&] { s_.Set("t", V("t") + N(0.05)); }); });
      s_.Do(V("stream").Call("seek", {V("t")}));
      s_.Set("ended", Bool(false));
      // The runtime shows no new picture for a seek while paused: run silently for a few
      // frames to fetch it, then hold it.
      s_.If(V("paused") && !V("posterPending"), [&] {
        s_.Set("stillFrames", N(kStillFrames));
        s_.Set("stillFrom", V("stream").Get("time"));
        s_.Set("stillWait", N(0));
        Call("applyVolume");
        Call("pauseStream", {Bool(false)});
      });
    });

    // The arrow keys: from where playback is, within the video, playing or paused as it was.
    s_.Function("seekBy", {"seconds"}, [&] {
      s_.If(!V("started") || !(V("duration") > N(0)) || V("messageShown"), [&] { s_.Return(); });
      // From a seek still waiting for its data, the next press goes on from its target.
      s_.Local("now", CallFunction("shownTime"));
      s_.Local("t", Max(N(0), Min(V("duration"), V("now") + V("seconds"))));
      // With no keyframe between here and there, going forward could only land behind.
      s_.If(V("seconds") > N(0) && V("keyTimes") != Undefined() &&
                CallFunction("keyframeAtOrBefore", {V("t")}) <= V("now"),
            [&] { s_.Return(); });
      Call("seekTo", {V("t")});
    });
    // The runtime keeps the state and tells of every change, Escape included, through
    // onFullScreen and onResize; the page must allow full screen, or nothing changes.
    s_.Function("toggleFullScreen", {}, [&] {
      s_.SetMember(V("Stage"), "displayState",
                   Choose(CallFunction("isFullScreen"), Str("normal"), Str("fullScreen")));
      Call("refreshButtons");
    });

    // Keys reach the player while it has the focus.
    s_.Set("keyWatch", New("Object"));
    s_.SetMember(V("keyWatch"), "onKeyDown", s_.Lambda({}, [&] {
      s_.Local("code", V("Key").Call("getCode"));
      // Held down, the arrows repeat their press and go on seeking.
      for (const auto& [key, seconds] :
           {std::pair{kKeyLeft, -kKeySeekSeconds}, std::pair{kKeyRight, kKeySeekSeconds}}) {
        s_.If(V("code") == N(key), [&] {
          Call("seekBy", {N(seconds)});
          s_.Return();
        });
      }
      // A toggle answers only the first press of a key held down.
      s_.If(V("code") == V("heldKey"), [&] { s_.Return(); });
      s_.Set("heldKey", V("code"));
      s_.If(V("code") == N(kKeySpace) || V("code") == N(kKeyK), [&] { Call("togglePlay"); });
      s_.If(V("code") == N(kKeyM), [&] { Call("toggleMute"); });
      s_.If(V("code") == N(kKeyF), [&] { Call("toggleFullScreen"); });
    }));
    s_.SetMember(V("keyWatch"), "onKeyUp", s_.Lambda({}, [&] { s_.Set("heldKey", N(-1)); }));
    s_.Do(V("Key").Call("addListener", {V("keyWatch")}));

    // A click on the picture plays or pauses, as on the browser's own video player; two presses
    // in a row also toggle full screen, and so leave playing as it was. The click that gives a
    // playing video its sound only gives sound. The big play button and the information box
    // keep their own clicks, and a press anywhere else starts the double-press count again.
    s_.Function("mouseOnPicture", {}, [&] {
      s_.Local("x", V("_root").Get("_xmouse"));
      s_.Local("y", V("_root").Get("_ymouse"));
      Expr area = V("pictureArea");
      s_.Return(!(V("x") < area.Get("x") || V("y") < area.Get("y") ||
                  V("x") >= area.Get("x") + area.Get("w") ||
                  V("y") >= area.Get("y") + area.Get("h") ||
                  (V("bigPlay").Get("_visible") &&
                   V("bigPlay").Call("hitTest", {V("x"), V("y"), Bool(false)})) ||
                  (V("infoBox").Get("_visible") &&
                   V("infoBox").Call("hitTest", {V("x"), V("y"), Bool(false)}))));
    });
    s_.Set("mouseWatch", New("Object"));
    s_.SetMember(V("mouseWatch"), "onMouseDown", s_.Lambda({}, [&] {
      s_.Set("heldKey", N(-1));
      // The runtime lets the sound out on the first click on the player, wherever it lands.
      s_.Set("pressGaveSound", V("soundBlocked"));
      s_.If(V("soundBlocked"), [&] {
        s_.Set("soundBlocked", Bool(false));
        Call("refreshButtons");
        // The runtime kept the sound it could not play and would now play it from where it
        // stopped, as far behind the picture as the visitor waited. The browser takes a moment
        // to open the sound output after the click, and the sound falls behind by that again:
        // it starts afresh at once and once more when the output runs.
        s_.Set("soundAdrift", Bool(true));
        s_.Set("soundRecheckAt", Timer() + N(kSoundOutputStartMs));
      });
      s_.Set("pressOnPicture", CallFunction("mouseOnPicture"));
      s_.If(!V("pressOnPicture"), [&] {
        s_.Set("lastPress", N(-kDoublePressMs));
        s_.Return();
      });
      s_.If(
          Timer() - V("lastPress") < N(kDoublePressMs),
          [&] {
            s_.Set("lastPress", N(-kDoublePressMs));
            Call("toggleFullScreen");
          },
          [&] { s_.Set("lastPress", Timer()); });
    }));
    // Play or pause on the release, once the press is over: a pause shows the big play button
    // under the pointer, and the release must not count as a press on it.
    s_.SetMember(V("mouseWatch"), "onMouseUp", s_.Lambda({}, [&] {
      s_.If(V("pressOnPicture") && CallFunction("mouseOnPicture") &&
                (!V("pressGaveSound") || V("paused")),
            [&] { Call("togglePlay"); });
      s_.Set("pressOnPicture", Bool(false));
    }));
    s_.Do(V("Mouse").Call("addListener", {V("mouseWatch")}));

    Expr bar = V("bar");
    for (const char* name : {"playBtn", "muteBtn", "infoBtn", "fullBtn"}) {
      Expr button = bar.Get(name);
      s_.SetMember(button, "onRollOver", s_.Lambda({}, [&] {
        s_.SetMember(V("this"), "hover", Bool(true));
        Call("refreshButtons");
      }));
      s_.SetMember(button, "onRollOut", s_.Lambda({}, [&] {
        s_.SetMember(V("this"), "hover", Bool(false));
        Call("refreshButtons");
      }));
    }
    s_.SetMember(bar.Get("playBtn"), "onRelease", s_.Lambda({}, [&] { Call("togglePlay"); }));
    s_.SetMember(V("bigPlay"), "onRelease", s_.Lambda({}, [&] { Call("togglePlay"); }));
    // A visitor who presses the speaker because there is no sound wants sound, not silence.
    s_.SetMember(bar.Get("muteBtn"), "onRelease", s_.Lambda({}, [&] {
      s_.If(
          V("pressGaveSound"),
          [&] {
            s_.Set("pressGaveSound", Bool(false));
            s_.Set("muted", Bool(false));
            Call("applyVolume");
            Call("refreshButtons");
          },
          [&] { Call("toggleMute"); });
    }));
    s_.SetMember(bar.Get("infoBtn"), "onRelease", s_.Lambda({}, [&] { Call("toggleInfo"); }));
    s_.SetMember(bar.Get("fullBtn"), "onRelease", s_.Lambda({}, [&] { Call("toggleFullScreen"); }));
    s_.SetMember(V("infoBox"), "onRelease", s_.Lambda({}, [&] { Call("toggleInfo"); }));

    Expr seek = bar.Get("seek");
    // Where the pointer is along the seek bar, 0 to 1. Press and release can come within one
    // frame, so both read it themselves rather than wait for the next frame's drawing.
    s_.Function("pointerFraction", {},
                [&] { s_.Return(Max(N(0), Min(N(1), seek.Get("_xmouse") / V("seekWidth")))); });
    s_.SetMember(seek, "onPress", s_.Lambda({}, [&] {
      s_.If(V("started") && V("duration") > N(0), [&] {
        s_.Set("dragging", Bool(true));
        s_.Set("dragFraction", CallFunction("pointerFraction"));
      });
    }));
    Expr release = s_.Lambda({}, [&] {
      s_.If(V("dragging"), [&] {
        s_.Set("dragging", Bool(false));
        s_.Set("dragFraction", CallFunction("pointerFraction"));
        Call("seekTo", {V("dragFraction") * V("duration")});
      });
    });
    s_.SetMember(seek, "onRelease", release);
    s_.SetMember(seek, "onReleaseOutside", release);
  }

  // Waiting for the download. The runtime's clock runs on past the bytes it has, and it can
  // only seek inside them, so the player compares the file position a time needs with the
  // bytes loaded: it holds the stream itself when the picture would run past them (the play
  // button still shows playing), and keeps a seek beyond them until they arrive. The metadata's
  // keyframe index gives the positions; without one, the file is taken as evenly spread.
  void Buffering() {
    Expr stream = V("stream");
    s_.Set("indexTimes", Array({}));
    s_.Set("indexPositions", Array({}));
    s_.Set("waiting", Bool(false));
    s_.Set("waitFrom", N(0));
    s_.Set("pendingSeek", N(-1));
    s_.Set("dragSeekAt", N(-kDragSeekMs));
    s_.Set("dragSeekTarget", N(-1));
    s_.Set("posterFrames", N(0));

    // An index from the file is used only when both lists are there and agree in length.
    s_.Function("readIndex", {"index"}, [&] {
      Expr times = V("index").Get("times"), positions = V("index").Get("filepositions");
      s_.If(TypeOf(times) == Str("object") && TypeOf(positions) == Str("object") &&
                times.Get("length") > N(0) && times.Get("length") == positions.Get("length"),
            [&] {
              s_.Set("indexTimes", times);
              s_.Set("indexPositions", positions);
            });
    });
    // The index of the last item of a rising list at or below x, or -1.
    s_.Function("lastAtOrBelow", {"list", "x"}, [&] {
      s_.Local("low", N(-1));
      s_.Local("high", V("list").Get("length"));
      s_.While(V("high") - V("low") > N(1), [&] {
        s_.Local("middle", V("Math").Call("floor", {(V("low") + V("high")) / N(2)}));
        s_.If(
            ToNumber(CallFunction("itemAt", {V("list"), V("middle")})) <= V("x"),
            [&] { s_.Set("low", V("middle")); }, [&] { s_.Set("high", V("middle")); });
      });
      s_.Return(V("low"));
    });
    // Maps x from one rising list to the other, in a straight line between neighbours; the
    // lists start from (0, 0) and end at (fromEnd, toEnd).
    s_.Function("along", {"from", "to", "x", "fromEnd", "toEnd"}, [&] {
      s_.Local("i", CallFunction("lastAtOrBelow", {V("from"), V("x")}));
      s_.Local("x0", N(0));
      s_.Local("y0", N(0));
      s_.If(V("i") >= N(0), [&] {
        s_.Set("x0", ToNumber(CallFunction("itemAt", {V("from"), V("i")})));
        s_.Set("y0", ToNumber(CallFunction("itemAt", {V("to"), V("i")})));
      });
      s_.Local("x1", V("fromEnd"));
      s_.Local("y1", V("toEnd"));
      s_.If(V("i") + N(1) < V("from").Get("length"), [&] {
        s_.Set("x1", ToNumber(CallFunction("itemAt", {V("from"), V("i") + N(1)})));
        s_.Set("y1", ToNumber(CallFunction("itemAt", {V("to"), V("i") + N(1)})));
      });
      s_.If(!(V("x1") > V("x0")), [&] { s_.Return(V("y0")); });
      s_.Return(V("y0") +
                (V("y1") - V("y0")) * Min(N(1), (V("x") - V("x0")) / (V("x1") - V("x0"))));
    });
    s_.Function("loadComplete", {},
                [&] { s_.Return(stream.Get("bytesLoaded") >= stream.Get("bytesTotal")); });
    // Whether the data of everything up to time t has arrived.
    s_.Function("hasArrived", {"t"}, [&] {
      s_.If(CallFunction("loadComplete"), [&] { s_.Return(Bool(true)); });
      s_.Return(CallFunction("along", {V("indexTimes"), V("indexPositions"),
                                       Min(V("t"), V("duration")), V("duration"),
                                       stream.Get("bytesTotal")}) <= stream.Get("bytesLoaded"));
    });
    // How far in the video the bytes loaded reach.
    s_.Function("loadedTime", {}, [&] {
      s_.If(CallFunction("loadComplete"), [&] { s_.Return(V("duration")); });
      s_.Return(
          CallFunction("along", {V("indexPositions"), V("indexTimes"), stream.Get("bytesLoaded"),
                                 stream.Get("bytesTotal"), V("duration")}));
    });
    // Buffering applies once the stream has described itself and its size is known.
    s_.Function("canBuffer", {}, [&] {
      s_.Return(V("started") && !V("messageShown") && V("duration") > N(0) &&
                stream.Get("bytesTotal") > N(0));
    });
    s_.Function("holdStream", {}, [&] {
      s_.Set("waiting", Bool(true));
      Call("pauseStream", {Bool(true)});
    });
    s_.Function("releaseStream", {}, [&] {
      s_.If(V("waiting") && !V("paused"), [&] { Call("pauseStream", {Bool(false)}); });
      s_.Set("waiting", Bool(false));
    });

    // Whether the preloading poster has its first picture and can be held. On a slow line the
    // runtime's clock starts before the data: held then, the stream would show nothing and
    // never read the description (the seek bar needs its duration). So it waits until the
    // description has come and the data for its time is in, for a few frames running, for
    // the runtime to decode it; a file with no description falls back to its clock.
    s_.Function("posterReady", {}, [&] {
      s_.Local("ready", stream.Get("time") > N(0));
      s_.If(V("ready") && V("duration") > N(0) && stream.Get("bytesTotal") > N(0), [&] {
        s_.Set("ready", CallFunction("hasArrived", {stream.Get("time") + N(kAheadSeconds)}));
      });
      s_.If(V("ready") && !(V("duration") > N(0)) && !CallFunction("loadComplete"),
            [&] { s_.Set("ready", stream.Get("time") > N(kPosterFallbackSeconds)); });
      s_.Set("posterFrames", Choose(V("ready"), V("posterFrames") + N(1), N(0)));
      s_.Return(V("posterFrames") >= N(kPosterFrames));
    });

    // Called by seekTo: true when the target's data is not there yet, and the seek waits.
    s_.Function("deferSeek", {"t"}, [&] {
      s_.If(!CallFunction("canBuffer") || CallFunction("hasArrived", {V("t") + N(kAheadSeconds)}),
            [&] {
              // A seek inside the loaded part replaces one still waiting.
              s_.Set("pendingSeek", N(-1));
              Call("releaseStream");
              s_.Return(Bool(false));
            });
      s_.Set("pendingSeek", V("t"));
      s_.Set("ended", Bool(false));
      // A seek ends the preloading poster: the stream stops where it is, paused.
      s_.If(V("posterPending"), [&] {
        s_.Set("posterPending", Bool(false));
        Call("pauseStream", {Bool(true)});
        Call("applyVolume");
        Call("refreshButtons");
      });
      s_.If(!V("paused") && !V("waiting"), [&] { Call("holdStream"); });
      Call("showLoading", {Bool(true)});
      s_.Return(Bool(true));
    });

    // Each frame: start or end a wait, and carry out a seek whose data has come.
    s_.Function("watchBuffer", {}, [&] {
      s_.If(!CallFunction("canBuffer") || V("posterPending"), [&] {
        Call("showLoading", {Bool(false)});
        s_.Return();
      });
      // A wait ends when Buffer Size seconds from where it stands are in, or the whole file.
      s_.Local("ahead", Max(V("bufferSeconds"), N(kAheadSeconds)));
      s_.If(
          V("pendingSeek") >= N(0),
          [&] {
            s_.If(
                CallFunction("hasArrived", {V("pendingSeek") + V("ahead")}),
                [&] {
                  s_.Local("target", V("pendingSeek"));
                  s_.Set("pendingSeek", N(-1));
                  Call("releaseStream");
                  Call("seekTo", {V("target")});
                },
                [&] { s_.If(!V("paused") && !V("waiting"), [&] { Call("holdStream"); }); });
          },
          [&] {
            s_.Local("now", Min(stream.Get("time"), V("duration")));
            s_.If(
                V("waiting"),
                [&] {
                  // The visitor's pause takes over; play looks again.
                  s_.If(V("paused"), [&] { s_.Set("waiting", Bool(false)); });
                  s_.If(CallFunction("hasArrived", {V("waitFrom") + V("ahead")}),
                        [&] { Call("releaseStream"); });
                },
                [&] {
                  s_.If(!V("paused") && !V("ended") && V("stillFrames") == N(0) &&
                            !CallFunction("hasArrived", {V("now") + N(kAheadSeconds)}),
                        [&] {
                          s_.Set("waitFrom", V("now"));
                          Call("holdStream");
                        });
                });
          });
      Call("showLoading", {V("waiting") || V("pendingSeek") >= N(0)});
    });

    // While the thumb is dragged, the picture follows it inside the loaded part.
    s_.Function("followDrag", {}, [&] {
      s_.If(!V("dragging") || !(V("duration") > N(0)) || Timer() - V("dragSeekAt") < N(kDragSeekMs),
            [&] { s_.Return(); });
      s_.Local("t", CallFunction("pointerFraction") * V("duration"));
      s_.If(V("Math").Call("abs", {V("t") - V("dragSeekTarget")}) < N(0.1) ||
                (CallFunction("canBuffer") &&
                 !CallFunction("hasArrived", {V("t") + N(kAheadSeconds)})),
            [&] { s_.Return(); });
      s_.Set("dragSeekAt", Timer());
      s_.Set("dragSeekTarget", V("t"));
      Call("seekTo", {V("t")});
    });

    // The time the bar and the clock show: a waiting seek's target; otherwise the stream's
    // time, but never past what has loaded, where the runtime's clock may run on.
    s_.Function("shownTime", {}, [&] {
      s_.If(!(V("duration") > N(0)), [&] { s_.Return(N(0)); });
      s_.If(V("pendingSeek") >= N(0), [&] { s_.Return(V("pendingSeek")); });
      s_.If(V("seekShown") >= N(0) && Timer() - V("seekShownAt") < N(kSeekShownMs),
            [&] { s_.Return(V("seekShown")); });
      s_.Local("t", Min(stream.Get("time"), V("duration")));
      s_.If(stream.Get("bytesTotal") > N(0),
            [&] { s_.Set("t", Min(V("t"), CallFunction("loadedTime"))); });
      s_.Return(V("t"));
    });
    // The loaded part of the bar, in the same measure as the played part: time.
    s_.Function("loadedFraction", {}, [&] {
      s_.If(!(stream.Get("bytesTotal") > N(0)), [&] { s_.Return(N(0)); });
      s_.If(!(V("duration") > N(0)),
            [&] { s_.Return(stream.Get("bytesLoaded") / stream.Get("bytesTotal")); });
      s_.Return(CallFunction("loadedTime") / V("duration"));
    });

    // The loading indicator: a turning arc on a dark disc, centred in the picture. It stands
    // in for the big play button while it shows.
    Expr mark = V("loadingMark");
    s_.Set("loadingMark", NewClip(V("_root"), "loadingMark", 22));
    Call("fillCircle", {mark, N(0), N(0), N(kLoadingDisc), N(0x000000), N(60)});
    s_.Do(mark.Call("lineStyle", {N(4), N(0xFFFFFF), N(90)}));
    {
      const double kPi = 3.14159265358979323846, r = kLoadingArc;
      s_.Do(mark.Call("moveTo", {N(r), N(0)}));
      // Three quarters of a circle in 45-degree arcs.
      for (int k = 1; k <= 6; ++k) {
        const double end = k * kPi / 4, control = end - kPi / 8, reach = r / std::cos(kPi / 8);
        s_.Do(mark.Call("curveTo", {N(reach * std::cos(control)), N(reach * std::sin(control)),
                                    N(r * std::cos(end)), N(r * std::sin(end))}));
      }
    }
    s_.Do(mark.Call("lineStyle"));
    s_.SetMember(mark, "_visible", Bool(false));
    s_.Function("showLoading", {"on"}, [&] {
      s_.If(!V("on"), [&] {
        s_.If(mark.Get("_visible"), [&] {
          s_.SetMember(mark, "_visible", Bool(false));
          Call("refreshButtons");
        });
        s_.Return();
      });
      s_.SetMember(mark, "_visible", Bool(true));
      s_.SetMember(V("bigPlay"), "_visible", Bool(false));
      s_.SetMember(mark, "_x", V("pictureArea").Get("x") + V("pictureArea").Get("w") / N(2));
      s_.SetMember(mark, "_y", V("pictureArea").Get("y") + V("pictureArea").Get("h") / N(2));
      s_.SetMember(mark, "_rotation", mark.Get("_rotation") + N(kLoadingTurn));
    });
  }

  // drawSeek(): the seek bar and the time, each frame; tick(): what the stream did.
  void Tick() {
    const double bh = skin_.bar_height;
    const double track_h = std::max(4.0, bh / 6.0);
    const double track_y = (bh - track_h) / 2;
    s_.Function("drawSeek", {}, [&] {
      Expr seek = V("bar").Get("seek");
      Expr stream = V("stream");
      s_.Local("w", V("seekWidth"));
      // Without a duration the runtime's clock is no measure of the video: it runs on alone.
      s_.Local("t", CallFunction("shownTime"));
      s_.Local("played", Choose(V("duration") > N(0), V("t") / V("duration"), N(0)));
      s_.If(V("dragging"), [&] {
        s_.Set("dragFraction", CallFunction("pointerFraction"));
        s_.Set("played", V("dragFraction"));
        s_.Set("t", V("dragFraction") * V("duration"));
      });
      s_.Local("loaded", CallFunction("loadedFraction"));
      // Redrawn only when it looks different: new shapes every frame cost the runtime's
      // renderer more than the video does.
      s_.Local("text", CallFunction("clock", {V("t")}) + Str(" / ") +
                           CallFunction("clock", {Choose(V("duration") > N(0), V("duration"),
                                                         V("headDuration"))}));
      auto pixels = [&](const Expr& fraction) {
        return V("Math").Call("round", {V("w") * fraction});
      };
      s_.Local("look", V("w") + Str(" ") + pixels(V("played")) + Str(" ") + pixels(V("loaded")) +
                           Str(" ") + V("text"));
      s_.If(V("look") == V("seekLook"), [&] { s_.Return(); });
      s_.Set("seekLook", V("look"));
      s_.Do(seek.Call("clear"));
      // The whole height takes clicks, not only the thin track.
      Call("fillRect", {seek, N(0), N(0), V("w"), N(bh), N(0), N(0)});
      Call("fillRound", {seek, N(0), N(track_y), V("w"), N(track_h), N(track_h / 2),
                         Colour(skin_.track), N(100)});
      s_.If(V("loaded") > N(0), [&] {
        Call("fillRound", {seek, N(0), N(track_y), Max(N(track_h), V("w") * V("loaded")),
                           N(track_h), N(track_h / 2), Colour(skin_.loaded), N(100)});
      });
      s_.If(V("played") > N(0), [&] {
        Call("fillRound", {seek, N(0), N(track_y), Max(N(track_h), V("w") * V("played")),
                           N(track_h), N(track_h / 2), Colour(skin_.played), N(100)});
      });
      const double knob = track_h + 6;
      Call("fillCircle",
           {seek, V("w") * V("played"), N(bh / 2), N(knob / 2), Colour(skin_.icon), N(100)});
      s_.SetMember(V("bar").Get("timeText"), "text", V("text"));
    });
    // Each frame: how long since the last. A frame this late means the sound output may have
    // run dry meanwhile and fallen behind; the sound starts afresh on the next frame on time
    // (in the late one, the runtime's clock jumps ahead with the picture, not the sound).
    s_.Function("watchSound", {}, [&] {
      s_.Local("now", Timer());
      s_.Local("frameGap", Choose(V("lastFrameAt") > N(0), V("now") - V("lastFrameAt"), N(0)));
      s_.Set("lastFrameAt", V("now"));
      s_.Set("steadyFrames", Choose(V("frameGap") < N(kSteadyGapMs), V("steadyFrames") + N(1), N(0)));
      s_.If(V("frameGap") > N(kStallMs) && V("started") && !V("paused") && !V("waiting") &&
                !V("cueing") && !V("posterPending") && V("stillFrames") == N(0),
            [&] { s_.Set("soundAdrift", Bool(true)); });
      s_.If(V("soundRecheckAt") > N(0) && V("now") >= V("soundRecheckAt"), [&] {
        s_.Set("soundRecheckAt", N(0));
        s_.Set("soundAdrift", Bool(true));
        s_.Set("soundRestartAt", N(0));
      });
      s_.If(V("soundAdrift") && V("steadyFrames") > N(0) &&
                V("now") - V("soundRestartAt") > N(kSoundRestartEveryMs),
            [&] { Call("restartSound"); });
    });
    s_.Function("clock", {"seconds"}, [&] {
      s_.Local("s", V("Math").Call("floor", {V("seconds")}));
      s_.If(CallFunction("isNaN", {V("s")}) || V("s") < N(0), [&] { s_.Set("s", N(0)); });
      s_.Local("m", V("Math").Call("floor", {V("s") / N(60)}));
      s_.Set("s", V("s") - V("m") * N(60));
      s_.Return(V("m") + Choose(V("s") < N(10), Str(":0"), Str(":")) + V("s"));
    });
    s_.Function("tick", {}, [&] {
      Expr stream = V("stream");
      Call("watchSound");
      // The poster goes once the video has a picture of its own to show.
      s_.If(V("poster").Get("_visible") && stream.Get("time") > N(0) && !V("cueing"),
            [&] { s_.SetMember(V("poster"), "_visible", Bool(false)); });
      // A poster frame: play silently until the first picture is there, then hold it.
      s_.If(V("stillFrames") > N(0), [&] {
        // The frames count once the stream has moved: a busy runtime may run several frames
        // before the stream's next turn. A seek that lands where it was waits a second at most.
        s_.Set("stillWait", V("stillWait") + N(1));
        s_.If(stream.Get("time") != V("stillFrom") || V("stillWait") > N(kFrameRate),
              [&] { s_.Set("stillFrames", V("stillFrames") - N(1)); });
        s_.If(V("stillFrames") == N(0), [&] {
          Call("pauseStream", {Bool(true)});
          Call("applyVolume");
        });
      });
      // The cue is over once the picture comes steadily: from the start again, with sound.
      s_.If(V("cueing") && CallFunction("posterReady") &&
                (V("steadyFrames") >= N(kSteadyFrames) || Timer() - V("cueFrom") > N(kCueMaxMs)),
            [&] {
              s_.Set("cueing", Bool(false));
              s_.Set("soundAdrift", Bool(false));
              s_.Do(stream.Call("seek", {N(0)}));
              Call("applyVolume");
            });
      s_.If(V("posterPending") && CallFunction("posterReady"), [&] {
        Call("pauseStream", {Bool(true)});
        s_.Set("posterPending", Bool(false));
        s_.Set("paused", Bool(true));
        Call("applyVolume");
        Call("refreshButtons");
      });
      // The runtime may never report a missing or unreadable file, and its clock runs on
      // even then: a stream whose description has not come by then is one of those, and says
      // so; if it comes to life later the message goes.
      s_.If(V("started") && !V("gotData"), [&] {
        s_.If(
            V("duration") > N(0) || V("videoWidth") > N(0),
            [&] {
              s_.Set("gotData", Bool(true));
              s_.If(V("messageShown") && V("source") != Str(""), [&] { Call("hideMessage"); });
            },
            [&] {
              s_.If(!V("messageShown") && Timer() - V("loadStart") > N(kNotFoundAfterMs), [&] {
                s_.If(
                    !(stream.Get("bytesTotal") > N(0)),
                    [&] { Call("showMessage", {Str("Video not found: ") + V("source")}); },
                    [&] {
                      s_.If(stream.Get("bytesLoaded") >= stream.Get("bytesTotal"), [&] {
                        Call("showMessage", {Str("Video cannot be played: ") + V("source")});
                      });
                    });
              });
            });
      });
      Call("watchBuffer");
      Call("followDrag");
      Call("drawSeek");
    });
  }

  void Start() {
    s_.Set("stageWatch", New("Object"));
    // Full screen changes the size and the button's icon, on the way in and out alike.
    for (const char* event : {"onResize", "onFullScreen"}) {
      s_.SetMember(V("stageWatch"), event, s_.Lambda({}, [&] {
        Call("layout");
        Call("refreshButtons");
      }));
    }
    s_.Do(V("Stage").Call("addListener", {V("stageWatch")}));
    s_.SetMember(V("_root"), "onEnterFrame", s_.Lambda({}, [&] { Call("tick"); }));
    Call("layout");
    Call("refreshButtons");
    s_.If(
        V("wantPlay"),
        [&] {
          s_.Set("soundBlocked", CallFunction("soundRuleBlocks"));
          // The first frames are slow (the page still loading) and would leave the sound
          // behind (see restartSound): the video starts silently behind its poster and, once
          // its pictures come steadily, again from the beginning with sound.
          s_.Set("cueing", Bool(true));
          s_.Set("cueFrom", Timer());
          Call("loadPoster");
          Call("applyVolume");
          Call("startStream");
        },
        [&] {
          s_.Set("paused", Bool(true));
          Call("loadPoster");
          s_.If(!V("preload"), [&] { Call("askHeadDuration"); });
          s_.If(V("preload"), [&] {
            s_.Set("posterPending", Bool(true));
            Call("applyVolume");
            Call("startStream");
          });
        });
    Call("refreshButtons");
  }

  const PlayerSkin& skin_;
  BarLayout bar_;
  Script& s_;
};

RgbColor ToRgbColor(Rgb rgb) {
  return RgbColor{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                  static_cast<uint8_t>(rgb)};
}

}  // namespace

std::string BuildPlayer(const PlayerSkin& skin) {
  ActionAssembler assembler;
  Script script(assembler);
  PlayerWriter(skin, script).Write();

  SwfMovie movie(8, kStageWidth, kStageHeight, kFrameRate);
  movie.FileAttributes(true);
  movie.SetBackgroundColor(ToRgbColor(skin.chrome_bottom));
  movie.DefineVideoStream(kVideoCharacter, kStageWidth, kStageHeight, true);
  movie.PlaceObject2(1, kVideoCharacter, "video");
  movie.DoAction(assembler.Finish());
  movie.ShowFrame();
  return movie.Finish();
}

}  // namespace players
