/*
 * The calling convention of the board maker's two libraries. Both are 32-bit libraries whose
 * entry points clean their own arguments off the stack; every declaration of them uses this.
 */
#pragma once

#define PALDRIX_API __stdcall
