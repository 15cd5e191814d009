// The firework streaks repeat every this many wall tiles along the tube: TunnelFireWorks.fs
// stretches its streak texture over as many, and Tunnel.vs wraps its scroll after as many, so
// the wrap never shows as a jump of the streaks.
const float kStreakTileCount = 3.0;
