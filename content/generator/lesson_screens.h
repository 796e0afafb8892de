#pragma once
// The skins of a lesson's screens: the main screen (backdrop with the
// notation, title, instructions, slide and tool buttons), the slide windows
// A, B and C (heading, paragraphs, picture frame, chord and picture controls)
// and the quiz (three questions, each with its group of tick boxes inside one
// of the quiz window's answer panels).

#include "content/generator/course_outline.h"
#include "content/generator/lesson_skins.h"

#include <QRect>

namespace art {

// Pictures of the main screen's tool buttons, shared by all lessons.
inline const QString kTunerSymbol = QStringLiteral("Bilder\\SymbolStimmen.jpg");
inline const QString kHelpSymbol = QStringLiteral("Bilder\\SymbolHilfe.jpg");
inline constexpr QSize kSymbolSize{30, 28};
// The paper card of the slide windows, shared by all lessons.
inline const QString kSlideCard = QStringLiteral("Bilder\\Lernkarte.jpg");
inline constexpr QRect kSlideCardRect{22, 22, 654, 556};
// Chord pictures of window A (tags 141..143).
inline constexpr QSize kChordPicture{64, 84};

// "lektionN\" + name, as skins name files.
QString LessonFile(int lesson, const QString& name);

// Skin labels do not wrap and nothing scrolls: a text that does not fit its
// place is no skin at all. Each function sets `error` (empty when all fits)
// to say which text does not fit.
// `notationTop`: the main-window y where the printed notation begins.
SkinWriter MainScreenSkin(const content::Lesson& lesson, int notationTop, std::string& error);
SkinWriter SlideSkin(const content::Lesson& lesson, int window, std::string& error);
SkinWriter QuizSkin(const content::Lesson& lesson, std::string& error);

// The quiz window's three answer panels (left, top, right, bottom) for an
// 800 x 600 window.
QRect AnswerPanel(int question);

} // namespace art
