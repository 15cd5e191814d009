#pragma once
bool musicLoad(const char* path);
void musicStart();
