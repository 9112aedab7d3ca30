// The three jobs of respack: scramble a plain file into a resource file, unscramble one, and list what a
// res/ directory holds. Each returns the process exit code and prints to the given streams.
#pragma once

#include <cstdio>
#include <string>

enum RespackExit { kRespackOk = 0, kRespackFailed = 1, kRespackUsage = 2 };

int packFile(const std::string& plainPath, const std::string& resourcePath, FILE* err);
int unpackFile(const std::string& resourcePath, const std::string& plainPath, FILE* err);
// Lists every resource number present in dir, ascending, with the kind of its payload; files the game
// would never open (05.dat, notes.txt) are named as ignored. Fails when any resource cannot be read.
int checkDirectory(const std::string& dir, FILE* out, FILE* err);
