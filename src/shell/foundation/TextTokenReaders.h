// Small lexical readers for the text importers. Each stores one zero-terminated token of at most
// size - 1 characters; a token that runs into the end of the input comes back empty.
#pragma once

#include <cstdio>
#include <istream>

void ReadAlnumToken(std::istream& in, char* buffer, int size);
void ReadAlnumTokenOnLine(std::istream& in, char* buffer, int size);
void ReadWordToken(std::istream& in, char* buffer, int size);
void ReadNameToken(std::istream& in, char* buffer, int size);
void ReadSymbolToken(std::istream& in, char* buffer, int size);
bool IsSymbolChar(int c);
bool IsCommentLine(std::istream& in);
void ReadLine(std::istream& in, char* buffer, int size);
// 1 when a token was read (possibly empty), -1 at the end of the file or on a read error.
int ReadQuotedToken(std::FILE* file, char* buffer, int size);
// Writes the text, quoted when it holds white space; answers the last write's result.
int WriteQuotedToken(std::FILE* file, const char* text);
