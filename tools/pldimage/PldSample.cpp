#include "pldimage/PldImage.h"

namespace lx::tools {

namespace {

PldLanguage Language(int primary, int sub, int codePage, const char* english, const char* native) {
  PldLanguage language;
  language.primaryLanguage = primary;
  language.subLanguage = sub;
  language.codePage = codePage;
  language.englishName = english;
  language.nativeName = native;
  return language;
}

PldLocale AustrianLocale() {
  PldLocale locale;
  locale.primaryLanguage = 7;
  locale.subLanguage = 3;
  locale.isoLanguage = "de";
  locale.isoCountry = "AT";
  locale.charset = 0;
  locale.codePage = 1252;
  locale.englishLanguageName = "German";
  locale.englishCountryName = "Austria";
  locale.nativeLanguageName = "Deutsch";
  locale.nativeCountryName = "Österreich";
  locale.abbrevLanguageName = "DEA";
  locale.countryName = "Österreich";
  locale.currencyString = "€";
  locale.currencyFormat = 2;
  locale.negCurrFormat = 9;
  locale.currencyDecimals = 2;
  locale.thousandSeparator = ".";
  locale.decimalSeparator = ",";
  locale.dateSeparator = ".";
  locale.shortDateFormat = "dd.MM.yyyy";
  locale.longDateFormat = "dddd, d. MMMM yyyy";
  locale.timeSeparator = ":";
  locale.timeAMString = "vorm.";
  locale.timePMString = "nachm.";
  locale.hourLeadingZero = 1;
  locale.timeFormat = 1;
  locale.firstWeekOfYear = 2;
  locale.shortMonthNames = {"Jän", "Feb", "Mär", "Apr", "Mai", "Jun",
                            "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
  locale.longMonthNames = {"Jänner", "Februar", "März",      "April",   "Mai",      "Juni",
                           "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
  locale.shortDayNames = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
  locale.longDayNames = {"Montag",  "Dienstag", "Mittwoch", "Donnerstag",
                         "Freitag", "Samstag",  "Sonntag"};
  return locale;
}

}  // namespace

PldImage SamplePldImage() {
  PldImage image;
  image.contentFlags = 1;
  PldLanguage native = Language(0, 0, 1252, "English", "English");
  native.isoLanguage = "en";
  PldLanguage german = Language(7, 3, 1252, "German", "Deutsch");
  german.isoLanguage = "de";
  german.isoCountry = "AT";
  german.subLanguages = "3,1";
  german.subLanguageCodes = "AT,DE";
  german.fontName = "Arial";
  german.fontSize = 9;
  german.flags = 1;
  PldLanguage russian = Language(25, 1, 1251, "Russian", "Русский");
  russian.charset = 77;
  image.languages = {native, german, russian};
  image.translations = {
      {{"Open", "Öffnen", "Открыть"}, "TMainForm", "OpenButton.Caption"},
      {{"Cancel", "Abbrechen", ""}, "TMainForm", "CancelButton.Caption"},
      {{"OK", "", ""}, "", ""},
      {{"Save", "", "Сохранить"}, "TMainForm", "SaveItem.Caption"},
  };
  image.locales = {AustrianLocale()};
  return image;
}

}  // namespace lx::tools
