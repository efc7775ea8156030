#!/usr/bin/env python3
"""The window of the screen benchmark, written for both programs from one description.

  screen_form.py OUTDIR

writes into OUTDIR:
  ScreenForm.lxfm   the Lx form (text form, compiled into the Lx program)
  ScreenForm.ui     the same window as a Qt designer form (compiled by uic)
  screen.json       the Lx dictionary (lxpld build): English, German, French, Arabic
  screen_de.ts, screen_fr.ts, screen_ar.ts   the same translations for lrelease

The window: 400 labels, 300 buttons, 150 edits, 149 check boxes and a list box of 1,000
lines (1,000 controls), each with a hint, and a menu of 10 menus with 9 items each (100
items), all placed at fixed positions in one font. Every text differs from every other and
from its translations, whose lengths differ as real ones do.
"""

import json
import os
import sys
from xml.sax.saxutils import escape

WIDTH, HEIGHT = 1560, 1180
COLUMNS, CELL_W, CELL_H = 14, 100, 16
FONT, POINTS = "DejaVu Sans", 8
LANGUAGES = ["en", "de", "fr", "ar"]
KINDS = [("Label", 400), ("Button", 300), ("Edit", 150), ("Check", 149)]
LIST_LINES, MENUS, MENU_ITEMS = 1000, 10, 9

WORDS = {
    "Label": ["Label", "Beschriftung", "\u00c9tiquette", "\u062a\u0633\u0645\u064a\u0629"],
    "Button": ["Button", "Schaltfl\u00e4che", "Bouton", "\u0632\u0631"],
    "Check": ["Option", "Auswahl", "Case", "\u062e\u064a\u0627\u0631"],
    "Hint": ["Hint on", "Hinweis zu", "Astuce pour", "\u062a\u0644\u0645\u064a\u062d"],
    "Line": ["Line", "Zeile", "Ligne", "\u0633\u0637\u0631"],
    "Menu": ["&Menu", "&Men\u00fc", "&Rubrique", "&\u0642\u0627\u0626\u0645\u0629"],
    "Item": ["Item", "Eintrag", "\u00c9l\u00e9ment", "\u0639\u0646\u0635\u0631"],
    "Title": ["Screen benchmark", "Bildschirmtest", "Banc d'essai", "\u0627\u062e\u062a\u0628\u0627\u0631"],
}
LX_CLASS = {"Label": "TLabel", "Button": "TButton", "Edit": "TEdit", "Check": "TCheckBox"}
QT_CLASS = {"Label": "QLabel", "Button": "QPushButton", "Edit": "QLineEdit", "Check": "QCheckBox"}


def text(word, number, language):
    return f"{WORDS[word][LANGUAGES.index(language)]} {number}"


def controls():
    """(name, kind, number, left, top) of every small control, row by row."""
    result, slot = [], 0
    for kind, count in KINDS:
        for i in range(count):
            left, top = slot % COLUMNS * CELL_W, slot // COLUMNS * CELL_H
            result.append((f"{kind}{i}", kind, i, left + 2, top + 2))
            slot += 1
    return result


def hint_of(kind, number, language):
    return f"{text('Hint', number, language)} {kind.lower()}"


def lx_string(value):
    return "'" + value.replace("'", "''") + "'"


def lx_form():
    out = ["object BenchForm: TBenchForm", "  Left = 0", "  Top = 0",
           f"  Width = {WIDTH}", f"  Height = {HEIGHT}", "  AutoScroll = False",
           f"  Caption = {lx_string(text('Title', '', 'en').strip())}",
           f"  Font.Name = {lx_string(FONT)}", f"  Font.Size = {POINTS}", "  Menu = MainMenu"]
    for name, kind, number, left, top in controls():
        out += [f"  object {name}: {LX_CLASS[kind]}", f"    Left = {left}", f"    Top = {top}",
                f"    Width = {CELL_W - 4}", f"    Height = {CELL_H - 2}"]
        if kind == "Edit":
            out.append(f"    Text = {lx_string(f'Edit {number}')}")
        else:
            out.append(f"    Caption = {lx_string(text(kind, number, 'en'))}")
        out += [f"    Hint = {lx_string(hint_of(kind, number, 'en'))}", "  end"]
    list_left = COLUMNS * CELL_W + 4
    out += ["  object List: TListBox", f"    Left = {list_left}", "    Top = 2",
            f"    Width = {WIDTH - list_left - 4}", f"    Height = {HEIGHT - 60}",
            f"    Hint = {lx_string(hint_of('List', 0, 'en'))}", "    Items.Strings = ("]
    lines = [f"      {lx_string(text('Line', i, 'en'))}" for i in range(LIST_LINES)]
    out += lines[:-1] + [lines[-1] + ")", "  end", "  object MainMenu: TMainMenu",
                         "    AutoHotkeys = maManual"]
    for m in range(MENUS):
        out += [f"    object Menu{m}: TMenuItem", f"      Caption = {lx_string(text('Menu', m, 'en'))}"]
        for i in range(MENU_ITEMS):
            out += [f"      object Item{m}_{i}: TMenuItem",
                    f"        Caption = {lx_string(text('Item', f'{m}.{i}', 'en'))}", "      end"]
        out.append("    end")
    out += ["  end", "  object Translator: TLxTranslator", "    DictionaryName = 'Dictionary1'",
            "    CharsetChange = lxccDisabled",
            "    TargetsData = (1 3 ('*' 'Hint' 0) ('*' 'Caption' 0) ('*' 'Items' 0))", "  end",
            "end"]
    return "\n".join(out) + "\n"


def qt_string(value, translatable=True):
    note = "" if translatable else ' notr="true"'
    return f"<string{note}>{escape(value)}</string>"


def qt_widget(klass, name, left, top, width, height, properties):
    out = [f'<widget class="{klass}" name="{name}">',
           f'<property name="geometry"><rect><x>{left}</x><y>{top}</y>'
           f"<width>{width}</width><height>{height}</height></rect></property>"]
    out += [f'<property name="{key}">{value}</property>' for key, value in properties]
    return out


def qt_form():
    out = ['<?xml version="1.0" encoding="UTF-8"?>', '<ui version="4.0">',
           "<class>BenchForm</class>", '<widget class="QMainWindow" name="BenchForm">',
           f'<property name="geometry"><rect><x>0</x><y>0</y><width>{WIDTH}</width>'
           f"<height>{HEIGHT}</height></rect></property>",
           f'<property name="windowTitle">{qt_string(text("Title", "", "en").strip())}</property>',
           f'<property name="font"><font><family>{FONT}</family><pointsize>{POINTS}</pointsize>'
           "</font></property>", '<widget class="QWidget" name="centralwidget">']
    for name, kind, number, left, top in controls():
        value = (("text", qt_string(f"Edit {number}", False)) if kind == "Edit" else
                 ("text", qt_string(text(kind, number, "en"))))
        out += qt_widget(QT_CLASS[kind], name, left, top, CELL_W - 4, CELL_H - 2,
                         [value, ("toolTip", qt_string(hint_of(kind, number, "en")))])
        out.append("</widget>")
    list_left = COLUMNS * CELL_W + 4
    out += qt_widget("QListWidget", "List", list_left, 2, WIDTH - list_left - 4, HEIGHT - 60,
                     [("toolTip", qt_string(hint_of("List", 0, "en")))])
    for i in range(LIST_LINES):
        out.append(f'<item><property name="text">{qt_string(text("Line", i, "en"))}</property></item>')
    out += ["</widget>", "</widget>", '<widget class="QMenuBar" name="menubar">']
    for m in range(MENUS):
        out += [f'<widget class="QMenu" name="Menu{m}">',
                f'<property name="title">{qt_string(text("Menu", m, "en"))}</property>']
        out += [f'<addaction name="Item{m}_{i}"/>' for i in range(MENU_ITEMS)]
        out.append("</widget>")
    out += [f'<addaction name="Menu{m}"/>' for m in range(MENUS)]
    out.append("</widget>")
    for m in range(MENUS):
        for i in range(MENU_ITEMS):
            out += [f'<action name="Item{m}_{i}">',
                    f'<property name="text">{qt_string(text("Item", f"{m}.{i}", "en"))}</property>',
                    "</action>"]
    out += ["</widget>", "<resources/>", "<connections/>", "</ui>"]
    return "\n".join(out) + "\n"


def every_text():
    """(Lx component name, one text per language) of every translated text."""
    for name, kind, number, _, _ in controls():
        if kind != "Edit":
            yield name, [text(kind, number, lang) for lang in LANGUAGES]
        yield name, [hint_of(kind, number, lang) for lang in LANGUAGES]
    yield "List", [hint_of("List", 0, lang) for lang in LANGUAGES]
    for i in range(LIST_LINES):
        yield "List", [text("Line", i, lang) for lang in LANGUAGES]
    for m in range(MENUS):
        yield f"Menu{m}", [text("Menu", m, lang) for lang in LANGUAGES]
        for i in range(MENU_ITEMS):
            yield f"Item{m}_{i}", [text("Item", f"{m}.{i}", lang) for lang in LANGUAGES]
    yield "", [text("Title", "", lang).strip() for lang in LANGUAGES]


def dictionary():
    languages = [
        {"primaryLanguage": 0, "codePage": 1252, "englishName": "English"},
        {"primaryLanguage": 7, "subLanguage": 1, "codePage": 1252, "englishName": "German"},
        {"primaryLanguage": 12, "subLanguage": 1, "codePage": 1252, "englishName": "French"},
        {"primaryLanguage": 1, "subLanguage": 1, "codePage": 1256, "englishName": "Arabic"},
    ]
    translations = [{"texts": texts, "context": "TBenchForm", "id": name}
                    for name, texts in every_text()]
    return json.dumps({"version": 3, "contentFlags": 1, "languages": languages,
                       "translations": translations}, ensure_ascii=False, indent=0) + "\n"


def qt_translations(language):
    column = LANGUAGES.index(language)
    out = ['<?xml version="1.0" encoding="utf-8"?>', "<!DOCTYPE TS>",
           f'<TS version="2.1" language="{language}">', "<context>", "<name>BenchForm</name>"]
    for _, texts in every_text():
        out.append(f"<message><source>{escape(texts[0])}</source>"
                   f"<translation>{escape(texts[column])}</translation></message>")
    out += ["</context>", "</TS>"]
    return "\n".join(out) + "\n"


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: screen_form.py OUTDIR")
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    files = {"ScreenForm.lxfm": lx_form(), "ScreenForm.ui": qt_form(), "screen.json": dictionary()}
    for language in LANGUAGES[1:]:
        files[f"screen_{language}.ts"] = qt_translations(language)
    for name, content in files.items():
        path = os.path.join(folder, name)
        with open(path + ".tmp", "w", encoding="utf-8") as out:
            out.write(content)
        os.replace(path + ".tmp", path)


if __name__ == "__main__":
    main()
