[èZèäò^]
ItemNo=1,21,11
ItemSize=4,14,50
ItemAlign=0,0,0
[ìdòb]
ItemNo=1,21,4
ItemSize=4,14,13
ItemAlign=0,0,1
