// The boards a player chooses from, each a picture "img\base_N.bmp" with N from 0. The board
// panel offers this many, the play screen loads one of them, and the picture generator draws them.
#pragma once

constexpr int BOARD_CHOICES = 5;
