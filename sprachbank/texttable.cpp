#include "sprachbank/texttable.h"

#include <array>

namespace sprachbank {
namespace {

constexpr Kind C = Kind::Caption;
constexpr Kind M = Kind::Message;
constexpr Kind E = Kind::Error;

// Every text of the program that changes with the language.
// Columns: kind, number, German, English.
//
// Messages 21 to 26 make one sentence in the exit dialog: the dialog puts them
// together without adding a single character, so the spaces belong here.
//   "Sie haben heute " + "02" + " Stunden und " + "5" + " Minuten geübt." ...
constexpr std::array kRows = {
    // Captions: buttons, labels and window headings.
    TextRow{C, 1, "OK", "OK"},
    TextRow{C, 2, "Abbrechen", "Cancel"},
    TextRow{C, 3, "Ja", "Yes"},
    TextRow{C, 4, "Nein", "No"},
    TextRow{C, 5, "Weiter", "Go on"},
    TextRow{C, 6, "Später", "Later"},
    TextRow{C, 7, "Weiter", "Next"},
    TextRow{C, 8, "Zurück", "Back"},
    TextRow{C, 9, "Modus", "Mode"},
    TextRow{C, 10, "Kontrolle", "Quiz"},
    TextRow{C, 11, "Übeplan", "Practice plan"},
    TextRow{C, 12, "Explorer", "Explorer"},
    TextRow{C, 13, "Monitor", "Monitor"},
    TextRow{C, 14, "Tuner", "Tuner"},
    TextRow{C, 15, "Hilfe", "Help"},
    TextRow{C, 16, "Beenden", "Quit"},
    TextRow{C, 17, "Von Vorn", "Start over"},
    TextRow{C, 18, "Neue Übung", "New lesson"},
    TextRow{C, 19, "Öffnen", "Open"},
    TextRow{C, 20, "Lektion", "Lesson"},
    TextRow{C, 21, "Einstieg", "Getting started"},
    TextRow{C, 22, "Abschluss", "Finale"},
    TextRow{C, 23, "Lernfenster", "Learning window"},
    TextRow{C, 24, "Datum", "Date"},
    TextRow{C, 25, "Übezeit", "Practice time"},
    TextRow{C, 26, "E Dur", "E major"},
    TextRow{C, 27, "Aus", "Off"},
    TextRow{C, 28, "Bilder", "Pictures"},
    TextRow{C, 29, "Video", "Video"},
    TextRow{C, 30, "Soundcard", "Sound device"},

    // Names and descriptions for screen readers (500 to 599): what the
    // picture buttons do, what a slider's value means, what a picture shows.
    TextRow{C, 500, "Abspielen", "Play"},
    TextRow{C, 501, "Pause", "Pause"},
    TextRow{C, 502, "Stopp", "Stop"},
    TextRow{C, 503, "Wiederholen", "Repeat"},
    TextRow{C, 504, "Startmarke", "Start mark"},
    TextRow{C, 505, "Einen Takt zurück", "One bar back"},
    TextRow{C, 506, "Einen Takt vor", "One bar forward"},
    TextRow{C, 507, "Über Zupfari Basis", "About Zupfari Basis"},
    TextRow{C, 508, "Einführungsvideo", "Introduction video"},
    TextRow{C, 510, "Liste nach oben", "Scroll the list up"},
    TextRow{C, 511, "Liste nach unten", "Scroll the list down"},
    TextRow{C, 512, "Tempostufe", "Tempo level"},
    TextRow{C, 513, "Stufe %1 von %2", "Level %1 of %2"},
    TextRow{C, 514, "Stufe %1 von %2, %3 Schläge pro Minute", "Level %1 of %2, %3 beats per minute"},
    TextRow{C, 515, "Saite %1", "String %1"},
    TextRow{C, 516, "Griffbrett", "Fretboard"},
    TextRow{C, 517, "Bild %1", "Picture %1"},
    TextRow{C, 518, "Nächstes Bild", "Next picture"},
    TextRow{C, 519, "Akkord %1 anhören", "Listen to chord %1"},
    TextRow{C, 520, "Antwort %1", "Answer %1"},
    TextRow{C, 521, "Durchgänge in der schnellsten Stufe: %1 von 3", "Passes at the fastest level: %1 of 3"},
    TextRow{C, 522, "Startbild schließen", "Close the start picture"},

    // The practice journal and its progress window.
    TextRow{C, 400, "Fortschritt", "Progress"},
    TextRow{C, 401, "Als CSV speichern", "Save as CSV"},
    TextRow{C, 402, "Schließen", "Close"},
    TextRow{C, 403, "Minuten am Tag", "Minutes per day"},
    TextRow{C, 404, "Tempostufe je Lektion", "Tempo level per lesson"},
    TextRow{C, 405, "Kontrollen", "Quizzes"},
    TextRow{C, 406, "Mitspielen: Töne im Takt", "Playing along: notes on time"},
    TextRow{C, 407, "bestanden", "passed"},
    TextRow{C, 408, "noch nicht", "not yet"},
    TextRow{C, 409, "Stufe", "Level"},
    TextRow{C, 410, "Nächste Stufe anbieten", "Offer the next level"},
    TextRow{C, 411, "Minuten", "Minutes"},
    TextRow{C, 412, "Versuche", "Tries"},
    TextRow{C, 413, "% im Takt", "% on time"},
    TextRow{C, 414, "L", "L"},

    // The tuner's listening: switch, string choice, state lines, marks.
    TextRow{C, 200, "Mikrofon", "Microphone"},
    TextRow{C, 201, "automatisch", "automatic"},
    TextRow{C, 202, "gestimmt", "in tune"},
    TextRow{C, 203, "zu tief", "too low"},
    TextRow{C, 204, "zu hoch", "too high"},
    TextRow{C, 205, "Zupfen Sie eine Saite an.", "Pluck a string."},
    TextRow{C, 206, "Kein Mikrofon gefunden", "No microphone found"},
    TextRow{C, 207, "Das Mikrofon ist nicht mehr da", "The microphone has gone"},
    TextRow{C, 208, "Vom Mikrofon kommt kein Ton", "No sound comes from the microphone"},
    TextRow{C, 209, "Das Mikrofon lässt sich nicht öffnen", "The microphone cannot be opened"},
    TextRow{C, 210, "Hört nicht zu, solange der Ton klingt", "Not listening while the tone sounds"},
    TextRow{C, 211, "Mikrofon wird geöffnet ...", "Opening the microphone ..."},
    TextRow{C, 212, "Saite:", "String:"},
    TextRow{C, 213, "Eingang", "Input"},

    // Messages: titles and bodies of the message box.
    TextRow{M, 1, "Frage", "Question"},
    TextRow{M, 2, "Keine neue Lektion", "No new lesson"},
    TextRow{M, 3, "Hinweis", "Note"},
    TextRow{M, 4, "Willkommen bei Zupfari Basis!", "Welcome to Zupfari Basis!"},
    TextRow{M, 5, "Bis zum nächsten Mal!", "See you next time!"},
    TextRow{M, 6, "Möchten Sie die Zupfari-Webseite besuchen? Dort finden Sie Tipps, Noten und Neuigkeiten.",
            "Would you like to visit the Zupfari web site? You will find tips, sheet music and news there."},
    TextRow{M, 7, "Bitte warten ...", "Please wait ..."},
    TextRow{M, 8, "Sie haben alle Lektionen des Kurses abgeschlossen. Herzlichen Glückwunsch!",
            "You have finished every lesson of the course. Congratulations!"},
    TextRow{M, 9, "Noch etwas Geduld", "Not quite yet"},
    TextRow{M, 10, "Die Kontrolle öffnet sich, wenn Sie die Übung dreimal ganz in der schnellsten Stufe gespielt haben.",
            "The quiz opens once you have played the whole exercise three times at the fastest level."},
    TextRow{M, 11, "Richtig!", "Well done!"},
    TextRow{M, 12, "Sie haben die Kontrolle bestanden. Möchten Sie gleich mit der nächsten Lektion weitermachen?",
            "You passed the quiz. Would you like to go on with the next lesson now?"},
    TextRow{M, 13, "Noch nicht ganz", "Not quite"},
    TextRow{M, 14, "Einige Antworten stimmen noch nicht. Möchten Sie sich die Lektion noch einmal ansehen?",
            "Some answers are not right yet. Would you like to look at the lesson again?"},
    TextRow{M, 15, "Der Übeplan ist voll", "The practice plan is full"},
    TextRow{M, 16, "Im Übeplan stehen schon drei Lektionen. Schließen Sie zuerst eine davon mit der Kontrolle ab.",
            "There are already three lessons in the practice plan. First finish one of them with its quiz."},
    TextRow{M, 17, "Von vorn beginnen?", "Start over?"},
    TextRow{M, 18, "Möchten Sie den Kurs noch einmal ganz von vorn beginnen?",
            "Would you like to start the course again from the very beginning?"},
    TextRow{M, 19, "Ihr Übeplan und Ihr Fortschritt werden dabei gelöscht. Wirklich von vorn beginnen?",
            "Your practice plan and your progress will be cleared. Really start over?"},
    TextRow{M, 20, "Alle Lektionen sind schon im Übeplan oder abgeschlossen.",
            "Every lesson is already in the practice plan or finished."},
    TextRow{M, 21, "Sie haben heute ", "Today you practised for "},
    TextRow{M, 22, " Stunden und ", " hours and "},
    TextRow{M, 23, "eine Stunde und ", "one hour and "},
    TextRow{M, 24, " Minuten geübt.", " minutes."},
    TextRow{M, 25, "ein paar Augenblicke geübt.", "a few moments."},
    TextRow{M, 26, "Möchten Sie Zupfari Basis jetzt beenden?", "Do you want to quit Zupfari Basis now?"},
    TextRow{M, 27, "Bitte warten ...", "Please wait ..."},
    TextRow{M, 28, "Hinweis", "Note"},
    TextRow{M, 29, "Hinweis", "Note"},
    TextRow{M, 30, "Soll die Taskleiste angezeigt werden?", "Should the taskbar be shown?"},
    TextRow{M, 31, "Das Video wird geladen ...", "Loading the video ..."},

    // The practice journal: troubles with its file (each told once), the
    // tempo ladder, the progress window.
    TextRow{M, 400, "Übungstagebuch", "Practice journal"},
    TextRow{M, 401, "Das Übungstagebuch lässt sich nicht öffnen:\n%1\nDer Kurs geht ganz normal weiter, Ihr Übeplan wird wie immer gespeichert. Nur Ihr Üben wird nicht ins Tagebuch geschrieben.",
            "The practice journal cannot be opened:\n%1\nThe course goes on as usual and your practice plan is saved as always. Only your practice is not written into the journal."},
    TextRow{M, 402, "Das Übungstagebuch war beschädigt. Es liegt jetzt unter\n%1\nund ein neues Tagebuch ist begonnen. Ihr Übeplan ist davon nicht betroffen.",
            "The practice journal was damaged. It has been kept as\n%1\nand a new journal has been started. Your practice plan is not affected."},
    TextRow{M, 403, "Das Übungstagebuch wird gerade von einem anderen Programm benutzt. Der Kurs geht weiter; Ihr Üben wird nachgetragen, sobald das Tagebuch wieder frei ist.",
            "The practice journal is in use by another program. The course goes on; your practice is written down as soon as the journal is free again."},
    TextRow{M, 404, "Auf dem Datenträger ist kein Platz mehr für das Übungstagebuch. Der Kurs geht weiter; Ihr Üben wird nachgetragen, sobald wieder Platz ist.",
            "There is no room left on the disk for the practice journal. The course goes on; your practice is written down as soon as there is room again."},
    TextRow{M, 405, "Das Übungstagebuch stammt von einer neueren Version von Zupfari Basis und bleibt, wie es ist:\n%1\nDer Kurs geht weiter; Ihr Üben wird diesmal nicht ins Tagebuch geschrieben.",
            "The practice journal comes from a newer version of Zupfari Basis and is left as it is:\n%1\nThe course goes on; your practice is not written into the journal this time."},
    TextRow{M, 406, "Nächste Stufe?", "Next level?"},
    TextRow{M, 407, "Sie haben die Übung dreimal hintereinander mit mindestens 90 % der Töne im Takt gespielt. Möchten Sie jetzt Stufe %1 versuchen?",
            "You have played the exercise three times in a row with at least 90 % of the notes on time. Would you like to try level %1 now?"},
    TextRow{M, 408, "Willkommen in Ihrem Übungstagebuch!", "Welcome to your practice journal!"},
    TextRow{M, 409, "Hier sehen Sie bald, wie Ihr Üben wächst: die Minuten jedes Tages, die Tempostufen Ihrer Lektionen und Ihre Kontrollen. Spielen Sie einfach eine Übung - Ihr erster Tag erscheint dann hier.",
            "Soon you will see here how your playing grows: the minutes of every day, the tempo levels of your lessons and your quizzes. Just play an exercise - your first day will then appear here."},
    TextRow{M, 410, "Geübt: %1 Std. %2 Min. an %3 Tagen", "Practised: %1 h %2 min on %3 days"},
    TextRow{M, 411, "Noch keine Kontrolle gemacht. Sie öffnet sich nach drei Durchgängen in der schnellsten Stufe.",
            "No quiz taken yet. It opens after three passes at the fastest level."},
    TextRow{M, 412, "Schalten Sie „Mitspielen prüfen“ ein, dann erscheint hier, wie viele Töne Sie im Takt gespielt haben.",
            "Switch on \"Check my playing\" and you will see here how many notes you played on time."},
    TextRow{M, 413, "In den letzten vier Wochen wurde nicht geübt. Heute ist ein guter Tag dafür!",
            "No practice in the last four weeks. Today is a good day for it!"},
    TextRow{M, 414, "Das Tagebuch wurde gespeichert:\n%1", "The journal has been saved:\n%1"},
    TextRow{M, 415, "Die Datei konnte nicht gespeichert werden:\n%1", "The file could not be saved:\n%1"},
    TextRow{M, 416, "Das Übungstagebuch ist im Moment nicht lesbar. Der Kurs geht ganz normal weiter.",
            "The practice journal cannot be read at the moment. The course goes on as usual."},
    TextRow{M, 417, "Übungstagebuch als CSV speichern", "Save the practice journal as CSV"},

    // Error texts: titles and bodies of the error boxes.
    TextRow{E, 1, "Datei nicht gefunden", "File not found"},
    TextRow{E, 2, "Fehler", "Error"},
    TextRow{E, 3, "Das Video konnte nicht abgespielt werden", "The video could not be played"},
    TextRow{E, 4, "Die Wiedergabe ließ sich nicht beenden", "Playback could not be stopped"},
    TextRow{E, 5, "Das Einführungsvideo wurde nicht gefunden.", "The introduction video was not found."},
    TextRow{E, 6, "Die Wiedergabe ließ sich nicht anhalten", "Playback could not be stopped"},
    TextRow{E, 7, "Der Akkord konnte nicht abgespielt werden", "The chord could not be played"},
    TextRow{E, 8, "Die Hilfedatei wurde nicht gefunden.", "The help file was not found."},
    TextRow{E, 9, "Die Datei ist beschädigt.", "The file is damaged."},
    TextRow{E, 10, "Der Stimmton wurde nicht gefunden.", "The tuning tone was not found."},
    TextRow{E, 11, "Übung nicht geladen", "Exercise not loaded"},
    TextRow{E, 12, "Die Übungsdatei konnte nicht geladen werden.", "The exercise file could not be loaded."},
    TextRow{E, 13, "Kein MIDI-Ausgang", "No MIDI output"},
    TextRow{E, 14, "Es wurde kein MIDI-Ausgang gefunden.", "No MIDI output was found."},
    TextRow{E, 15, "Zupfari Basis läuft bereits.", "Zupfari Basis is already running."},
    TextRow{E, 100, "Übung nicht gestartet", "Exercise not started"},
    TextRow{E, 101, "Die Übung ließ sich auf dem gewählten MIDI-Ausgang nicht abspielen. Bitte wählen Sie unter „Soundcard“ einen anderen Ausgang.",
            "The exercise could not be played on the chosen MIDI output. Please choose another one under “Sound device”."},

    // Texts 300 to 349: the boxes about saving and reading the progress
    // lists, the missing-files box, the help window's title, the picture
    // and skin errors and the video player's complaints, so that the English
    // edition shows no German word (the German texts are those the program
    // always showed).
    TextRow{C, 300, "Nochmal", "Try again"},
    TextRow{C, 301, "Zupfari Basis Hilfe", "Zupfari Basis Help"},
    TextRow{M, 300, "Speichern nicht möglich", "Progress cannot be saved"},
    TextRow{M, 301,
            "Ihr Lernstand kann nicht gespeichert werden in:\n%1\nBitte prüfen Sie, ob Sie dort schreiben "
            "dürfen. Beim Beenden können Sie das Speichern wiederholen.",
            "Your progress cannot be saved in:\n%1\nPlease check that you may write there. When you quit, "
            "you can try saving again."},
    TextRow{M, 302, "Speichern fehlgeschlagen", "Saving failed"},
    TextRow{M, 303, "Ihr Lernstand konnte nicht gespeichert werden in:\n%1",
            "Your progress could not be saved in:\n%1"},
    TextRow{M, 304, "Liste nicht lesbar", "List cannot be read"},
    TextRow{M, 305, "bleibt erhalten (.bak).\nIhr Übeplan beginnt neu.",
            "is kept as a copy (.bak).\nYour practice plan starts afresh."},
    TextRow{M, 306, "Achtung!", "Attention!"},
    TextRow{M, 307, "Einige wichtige Dateien wurden nicht gefunden!\nDas Programm wird beendet",
            "Some important files were not found!\nThe program will close"},
    TextRow{E, 300, "Fehler beim Öffnen der Bild-Datei", "Error opening the picture file"},
    TextRow{E, 301, "Die Videodatei kann nicht abgespielt werden", "The video file cannot be played"},
    TextRow{E, 302, "Die Videodatei lässt sich nicht öffnen", "The video file cannot be opened"},
    TextRow{E, 303, "Die Videodatei ist unvollständig (%1 von %2 Bytes)",
            "The video file is incomplete (%1 of %2 bytes)"},
    TextRow{E, 304, "Die Videodatei fehlt: ", "The video file is missing: "},
    TextRow{E, 305, "Die Videodatei antwortet nicht: ", "The video file does not respond: "},
    TextRow{E, 306, "Die Datei enthält kein Video: ", "The file holds no video: "},
    TextRow{E, 307, "Kein Video geöffnet", "No video is open"},
    TextRow{E, 308, "Kein Anzeigefeld für das Video", "No display area for the video"},
    TextRow{E, 309, "Das Video bleibt stehen: ", "The video has stopped moving: "},
    TextRow{E, 310, "Der Index der Liste überschreitet das Maximum (%1)", "List index out of bounds (%1)"},
    TextRow{E, 311, "' ist kein gültiger Integerwert", "' is not a valid integer value"},
};

} // namespace

std::span<const TextRow> TextTable() { return kRows; }

} // namespace sprachbank
