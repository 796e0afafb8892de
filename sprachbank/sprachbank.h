#pragma once
// Sprachbank, the language library: every text of the program that changes
// with the language, by number. Captions, messages and error texts are three
// separate number spaces.
//
// Texts are NUL-terminated Windows-1252. The pointers stay valid for the life
// of the process; callers copy the text and never free it. An unknown number
// gives an empty text, never a null pointer.
//
// The language is 0 (German) when the user's locale is German and 1 (English)
// otherwise; the environment variable SPRACHBANK_LANGUAGE, a decimal number,
// overrides it. Language 0 gives the German texts, any other the English ones.

#ifdef __cplusplus
extern "C" {
#endif

#define SPRACHBANK_API __attribute__((visibility("default")))

SPRACHBANK_API const char* DLL_GetCaption(int number);
SPRACHBANK_API const char* DLL_GetMessage(int number);
SPRACHBANK_API const char* DLL_GetErrStr(int number);
SPRACHBANK_API int DLL_GetLanguage(void);

#ifdef __cplusplus
}
#endif
