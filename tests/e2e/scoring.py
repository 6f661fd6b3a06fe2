"""The rule of a roll and the result of a game, written apart from the program's, for every
front-end's end-to-end tests: the Qt window, the Windows window and the web page."""
from collections import Counter

CATEGORIES = ("Pair", "Triple", "Quad", "Quint", "Tornel")
HIGHLIGHTS = dict(zip(CATEGORIES, ((255, 255, 0), (255, 191, 0), (255, 127, 0), (255, 63, 0), (255, 0, 0))))


def gain_of(faces):
    """What six dice are worth by the scoring rule alone: for every face, a group of n equal
    dice is worth 6^(n-2) times the face (a pair the face itself); six different faces, 100."""
    counts = Counter(faces)
    if len(counts) == 6:
        return 100
    return sum(6 ** (n - 2) * int(face) for face, n in counts.items() if n >= 2)


def lit_categories(dice):
    """The categories a roll lights: a group of n equal dice lights Pair up to its own size."""
    return CATEGORIES[:max(Counter(dice).values()) - 1]


def result_message(score1, score2):
    """The one box at a game's end, from the two final scores: the winner's score first."""
    if score1 == score2:
        return f"Surprisingly, you EACH won with {score1} points!"
    (win, high), (lose, low) = sorted(((1, score1), (2, score2)), key=lambda p: -p[1])
    return f"Player {win} won with {high} points and Player {lose} lost with {low} points!"
