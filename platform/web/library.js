// The functions the core calls in the page: each hands its news to the hook that the page's
// script set on Module.tessarline (bridge.js), with texts read as UTF-32.
mergeInto(LibraryManager.library, {
  tl_js_changed: function (picture, focusMoved, boardDescription, boxes, announcement) {
    Module.tessarline.changed({ picture: picture !== 0, focusMoved: focusMoved !== 0,
      boardDescription: boardDescription !== 0, boxDescriptions: [0, 1, 2, 3].map((i) => (boxes >> i & 1) !== 0),
      announcement: UTF32ToString(announcement) });
  },
  tl_js_beep: function () {
    Module.tessarline.beep();
  },
  tl_js_show_help: function () {
    Module.tessarline.showHelp();
  },
  tl_js_about_caption: function (text) {
    Module.tessarline.aboutCaption(UTF32ToString(text));
  },
  tl_js_about_title: function (text) {
    Module.tessarline.aboutTitle(UTF32ToString(text));
  },
  tl_js_about_unload: function () {
    Module.tessarline.aboutUnload();
  },
  tl_js_about_message: function (text, caption) {
    Module.tessarline.aboutMessage(UTF32ToString(text), UTF32ToString(caption));
  },
});
