#pragma once
#define IDI_KELMOPRO 1
#define IDI_KELMO 1
