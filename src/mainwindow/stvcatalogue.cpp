#include "mainwindow/stvcatalogue.h"

namespace kivo
{

// Titles and rom set names as the emulator knows them, misspellings included.
const std::array<StvGame, 40> stvCatalogue{{
    {u"", u""},
    {u"Astra Super Stars", u"astrass"},
    {u"Baku Baku Animal", u"bakubaku"},
    {u"Columns 97", u"colmns97"},
    {u"Cotton 2", u"cotton2"},
    {u"Cotton Boomerang", u"cottonbm"},
    {u"Decathlete", u"decathlt"},
    {u"Dynamite Deca", u"dnmtdeka"},
    {u"Ejihon Tantei Jimusyo", u"ejihon"},
    {u"Elandoree", u"elandore"},
    {u"Final Fight Revenge", u"ffreveng"},
    {u"Funky Head Boxers", u"fhboxers"},
    {u"Find Love", u"findlove"},
    {u"Final Arch", u"finalarch"},
    {u"Golden Axe The Duel", u"gaxduel"},
    {u"Guardian Force", u"grdforce"},
    {u"Groove On Fight", u"groovef"},
    {u"Hanagumi Taisen Columns", u"hanagumi"},
    {u"Intro Don Don", u"introdon"},
    {u"Pro Mahjong Kiwame S", u"kiwames"},
    {u"Maruchan De Goo!", u"maruchan"},
    {u"My Fair Lady Virtual Mahjong 2", u"myfairld"},
    {u"Let's Play Othello", u"othellos"},
    {u"Pebble Beach The Great Shot", u"pblbeach"},
    {u"Purikura Daisakusen", u"prikura"},
    {u"Puyo Puyo Sun", u"puyosun"},
    {u"Sando-R", u"sandor"},
    {u"Taisen Tant-R Sasi-su!", u"sasissu"},
    {u"Sea Bass Fishing", u"seabass"},
    {u"Shanghai The Great Wall", u"shanhigw"},
    {u"Shienryu", u"shienryu"},
    {u"S. M. League", u"smleague"},
    {u"Soukyu Gurentai / Terra Diver", u"sokyugrt"},
    {u"Steep Slope Sliders", u"sss"},
    {u"Suiko Enbu", u"suikoenb"},
    {u"Wold Cup '98", u"twcup98"},
    {u"Virtua Fighter Kids", u"vfkids"},
    {u"Virtua Figher Remix", u"vfremix"},
    {u"Virtual Mahjong", u"vmahjong"},
    {u"Winter Heat", u"winterht"},
}};

} // namespace kivo
