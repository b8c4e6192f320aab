#pragma once
#define IDI_KELMOPRO 1
