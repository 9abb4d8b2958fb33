// The catalogue of every native the plugin calls: role name, hash, result and parameter types in
// push order. This list is the only place a native hash is written; it generates the typed
// wrappers below and the simulated host's registry of names and argument forms.
#pragma once

#include "core/native/invoke.h"

// clang-format off
#define BRIMVALE_NATIVES(X) \
  /* names, player, time, controls */ \
  X(HashName, 0xFD340785ADF8CFB7, Hash, const char*) \
  X(PlayerPed, 0x096275889B8E0EE0, Ped) \
  X(PlayerIndex, 0x217E9DC48139933D, Player) \
  X(GameTimer, 0x4F67E8ECA7D3F667, int32_t) \
  X(ControlJustPressed, 0x580417101DDB492F, bool, int32_t /*pad*/, Hash /*control*/) \
  X(GetEntityCoords, 0xA86D5F069399F44D, Vector3, Entity, bool /*alive*/, bool /*real*/) \
  X(DistanceBetweenPoints, 0x2A488C176D52CCA5, float, Vector3, Vector3) \
  X(GetEntityForwardVector, 0xE09CAF86C32CB48F, Vector3, Entity, int32_t) \
  X(GetEntityHeading, 0xC230DD956E2F5507, float, Entity) \
  X(PlayerMount, 0x46FA0AE18F4C7FA9, Ped, Player) \
  X(PedIsOccupied, 0x460BC76A0E10655E, bool, Ped) \
  /* models */ \
  X(IsModelValid, 0xD6F3B6D7716CFF8E, bool, Hash) \
  X(IsModelPedKind, 0x392C8D8E07B70EFC, bool, Hash) \
  X(RequestModel, 0xFA28FE3A6246FC30, void, Hash, bool) \
  X(HasModelLoaded, 0x1283B8B89DD5D1B6, bool, Hash) \
  X(ReleaseModel, 0x4AD96EF928BD4F9A, void, Hash) \
  X(SetPlayerModel, 0xED40380076A31506, void, Ped, Hash, int32_t) \
  X(GetEntityModel, 0xDA76A9F39210D365, Hash, Entity) \
  X(SetPedDefaultVariation, 0x283978A15512B2FE, void, Ped, bool) \
  X(RefreshPlayerState, 0x66560A0D4C64FD21, void) \
  /* screen fades, texture dictionaries */ \
  X(ScreenFadeOut, 0x40C719A5E410B9E4, void, int32_t /*ms*/) \
  X(ScreenFadeIn, 0x6A053CF596F67DF7, void, int32_t /*ms*/) \
  X(HasTextureDictLoaded, 0x54D6900929CCF162, bool, const char*) \
  X(RequestTextureDict, 0xC1BA29DF5631B0F8, void, const char*, bool) \
  X(ReleaseTextureDict, 0x4ACA10A91F66F1E2, void, const char*) \
  /* blips */ \
  X(DoesBlipExist, 0xCD82FA174080B3B1, bool, Blip) \
  X(GetBlipCoords, 0x201C319797BDA603, Vector3, Blip) \
  X(AddBlipForCoord, 0x554D9D53F696D002, Blip, Hash /*style*/, Vector3) \
  X(AddBlipForRadius, 0x45F13B7E0A15C880, Blip, Hash /*style*/, Vector3, float /*radius*/) \
  X(AddBlipForEntity, 0x23F74C2FDA6E7C61, Blip, Hash /*style*/, Entity) \
  X(GetBlipFromEntity, 0x6D2C41A8BD6D6FD0, Blip, Entity) \
  X(SetBlipSprite, 0x74F74D3207ED525C, void, Blip, Hash, int32_t) \
  X(SetBlipName, 0x9CB1A1623062F402, void, Blip, DisplayString) \
  X(SetBlipStyle, 0xEDD964B7984AC291, void, Blip, Hash) \
  X(SetBlipCoords, 0x4FF674F5E23D49CE, void, Blip, Vector3) \
  X(AddBlipModifier, 0x662D364ABF16DE2F, void, Blip, Hash) \
  X(SetBlipPlayer, 0x093DD5A31BC2B459, void, Blip, Player) \
  X(GetMainPlayerBlip, 0x5CD2889B2B381D45, Blip) \
  X(RemoveBlip, 0xF2C3C9DA47AAA54A, void, Blip*) \
  /* text, sprites, sounds, notices */ \
  X(CreateVarString, 0xFA925AC00EB830B9, DisplayString, int32_t, const char*, const char*) \
  X(CreateColorString, 0xFA925AC00EB830B9, DisplayString, int32_t, const char*, int32_t, DisplayString) \
  X(DisplayText, 0xD79334A4BB99BAD1, void, DisplayString, float, float) \
  X(SetTextScale, 0xA1253A3C870B6843, void, float, float) \
  X(SetTextColour, 0x16FA5CE47F184F1E, void, int32_t, int32_t, int32_t, int32_t) \
  X(DrawSprite, 0xC9884ECADE94CB34, void, const char*, const char*, float, float, float, float, float, int32_t, int32_t, int32_t, int32_t, bool) \
  X(StopFrontendSound, 0x0F2A2175734926D8, void, const char*, const char*) \
  X(PlayFrontendSound, 0x67C540AA08E4A6F5, void, const char*, const char*, AlwaysOne, int32_t) \
  X(ShowHelpNotice, 0x049D5C615BD38BAD, void, const uint64_t*, const uint64_t*, int32_t) \
  X(ShowBannerNotice, 0x2024F4F333095FB1, void, const uint64_t*, const uint64_t*, int32_t) \
  X(ShowToastNotice, 0x26E87218390E6729, void, const uint64_t*, const uint64_t*, int32_t, int32_t) \
  X(ShowResultNotice, 0xA6F4216AB10EB08E, void, const uint64_t*, const uint64_t*, int32_t, int32_t) \
  X(SetObjectiveText, 0xFA233F8FE190514C, void, const char*) \
  X(CommitObjectiveText, 0xE9990552DEC71600, void) \
  X(ShowObjectiveText, 0xA3108D6981A5CADB, void) \
  X(KeepObjectiveText, 0xDFF0D417277B41F8, void) \
  X(ShowMissionIntroCard, 0x1E5B70E53DB661E5, void, int32_t, int32_t, int32_t, const char*, const char*, const char*) \
  X(HoldFrame, 0xE296208C273BD7F0, void, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) \
  /* campaign start and world */ \
  X(SetDeadEyeMultiplier, 0x870634493CB4372C, void, Player, float) \
  X(SetPedWalkStyle, 0xCB9401F918CB0F75, void, Ped, const char*, int32_t, int32_t) \
  X(SetPedFlagByName, 0xFE26E4609B1C3772, void, Ped, const char*, int32_t) \
  X(ApplyWorldHash, 0x6786D7AFAC3162B3, void, Hash) \
  X(GetLawContext, 0x47E385B0D957C8D4, int32_t) \
  X(SetLawContextOption, 0x9F9A829C6751F3C7, void, int32_t, int32_t, int32_t) \
  X(SetCampaignStartFlag, 0x4B8F743A4A6D2FF8, void, int32_t) \
  X(SetDeathFlowFreeRoamFirst, 0x6C9FF40FF1B69F8F, void, int32_t) \
  X(SetDeathFlowFreeRoamSecond, 0x66AB6B6C7E72F393, void, int32_t) \
  X(SetDeathFlowDeathScreenFirst, 0xDF3B5846DE5904AF, void, int32_t) \
  X(SetDeathFlowDeathScreenSecond, 0xAC806C4CAB973517, void, int32_t) \
  /* appearance */ \
  X(SetPedFaceFeature, 0x5653AB26C82938CF, void, Ped, int32_t /*feature id*/, float) \
  X(SetPedTextureLayer, 0xBC6DF00D7A4A6819, void, Ped, Hash, Hash, Hash, Hash, Hash /*palette*/, int32_t, int32_t, int32_t) \
  X(UpdatePedVariation, 0xCC8CA3E88256E58F, void, Ped, int32_t, int32_t, int32_t, int32_t, int32_t) \
  X(ApplyShopItemToPed, 0xD3A7B003ED343FD9, void, Ped, Hash, int32_t, int32_t, int32_t) \
  X(RemovePedComponentCategory, 0xD710A5007C2AC539, void, Ped, Hash, int32_t) \
  X(SetPedVoiceStyle, 0x6C8065A3B780185B, void, Ped, const char*) \
  X(SetPedVoice, 0x2703EFB583F0949A, void, Ped, Hash) \
  X(SetPedTraitValue, 0x25ACFC650B65C538, void, Ped, float) \
  X(SetPedBodyType, 0x1902C4CFCC5BE57C, void, Ped, Hash) \
  /* creator scene */ \
  X(TeleportPlayer, 0xDF8822C55EDDA65B, void, Player, Vector3, float /*heading*/, int32_t, int32_t, int32_t, int32_t) \
  X(SettlePlayerTeleport, 0x0858B86146601BE8, void) \
  X(RequestAnimDict, 0xA862A2AD321F94B4, void, const char*) \
  X(HasAnimDictLoaded, 0x27FF6FE8009B40CA, bool, const char*) \
  X(IsPedPlayingAnim, 0xDEE49D5CA6C49148, bool, Ped, const char*, const char*, int32_t) \
  X(PlayPedAnim, 0xEA47FE3719165B94, void, Ped, const char*, const char*, float, float, int32_t, int32_t, float, int32_t, int32_t, int32_t, int32_t, int32_t) \
  X(CreateCameraAt, 0x40C23491CE83708E, Cam, const char*, Vector3 /*at*/, Vector3 /*rotation*/, float /*fov*/, int32_t, int32_t) \
  X(PointCameraAtEntity, 0xFC2867E6074D3A61, void, Cam, Entity, Vector3 /*offset*/, int32_t) \
  X(AttachCameraToEntity, 0xFDC0DF7F6FB0A592, void, Cam, Entity, Vector3 /*offset*/, int32_t) \
  X(SetCameraActive, 0x87295BCA613800C8, void, Cam, bool) \
  X(RenderScriptCameras, 0x33281167E4942E4F, void, bool, int32_t, int32_t, int32_t, int32_t, int32_t) \
  X(DestroyCamera, 0x4E67E0B6D7FD5145, void, Cam, int32_t) \
  X(InterpolateCameras, 0x8B15AE2987C1AC8F, void, Cam /*to*/, Cam /*from*/, int32_t, int32_t, int32_t) \
  X(SetCameraFov, 0x27666E5988D9D429, void, Cam, float) \
  X(SetCameraCoord, 0xF9EE7D419EE49DE6, void, Cam, Vector3) \
  X(SetCameraRotation, 0x63DFA6810AD78719, void, Cam, Vector3, int32_t) \
  X(IsCameraInterpolating, 0x578F8F1CAA17BD2B, bool, Cam) \
  X(SetGameplayCameraRelativeHeading, 0x5D1EB123EAC5D071, void, float, float) \
  X(SetAudioFlag, 0xB9EFD5C25018725A, void, const char*, bool) \
  X(PrepareTransitionEffect, 0x842CCC9491FFCD9B, int32_t, const char*) \
  X(StartTransitionEffect, 0x9B8D5D4CB8AF58B3, void, int32_t) \
  X(StopTransitionEffect, 0x37D7BDBA89F13959, void, const char*) \
  X(PreparePedForScene, 0xAAA34F8A7CB32098, void, Ped, int32_t, int32_t) \
  X(SetPedSceneFlag, 0x94A3C1B804D291EC, void, Ped, int32_t, int32_t, int32_t, int32_t) \
  X(SetSceneOption, 0x3A52C59FFB2DEED8, void, int32_t, int32_t, int32_t) \
  X(GetPlayerMoney, 0x0C02DABFA3B98176, int32_t) \
  X(RemovePlayerMoney, 0x466BC8769CF26A7A, void, int32_t) \
  X(AddPlayerCash, 0xBC3422DC91667621, void, int32_t, Hash) \
  X(RemovePedWeapons, 0xF25DF915FA38C5F3, void, Ped, int32_t, int32_t) \
  X(SetPedHighRankFlag, 0x83B8D50EB9446BBA, void, Ped, int32_t) \
  X(FreezeEntity, 0x7D9EFB7AD6B19754, void, Entity, bool) \
  X(SetSceneDisplayFlag, 0x8DE82BC774F3B862, void, bool) \
  X(SetWorldDisplayFlag, 0x1B3DA717B9AFF828, void, bool) \
  X(SetAttributeCoreValue, 0xC6258F41D86676E0, void, Ped, int32_t, int32_t) \
  X(SetPedMaxHealth, 0x166E7CF68597D8B5, void, Ped, int32_t) \
  X(SetDeadEyeLevel, 0xF0FE8E790BFEB5BB, void, Player, int32_t) \
  X(SetDeadEyeAbilityLocked, 0x2797B8D66DD0EBB8, void, Player, int32_t, int32_t) \
  X(ForcePedMotionState, 0xF28965D04F570DCA, void, Ped, Hash, int32_t, int32_t, int32_t) \
  X(AlignPlayerHeading, 0xFA0C063C422C4355, void, Player, float, int32_t, float, int32_t, int32_t) \
  X(TriggerAudioEvent, 0x62C9EB51656D68CE, bool, Hash) \
  /* interaction menu, wardrobes */ \
  X(DisableControlThisFrame, 0xFE99B66D079CF6BC, void, int32_t /*pad*/, Hash /*control*/, int32_t) \
  X(CreateCameraByName, 0xE72CDBA7F0A02DD6, Cam, const char*, int32_t) \
  X(SetPedStartOption, 0x7DE9692C6F64CFE8, void, Ped, int32_t, int32_t, int32_t) \
  X(RemovePedWalkStyle, 0xA6F67BEC53379A32, void, Ped, const char*) \
  X(IsPedWalkStyleSet, 0x498F2E77982D6945, bool, Ped, const char*) \
  X(DrawPointLight, 0xD2D9E04C0DF927F4, void, Vector3, int32_t, int32_t, int32_t, float, float) \
  /* mission peds, vehicles, objects, relationships */ \
  X(DoesEntityExist, 0xD42BD6EB2E0F1677, bool, Entity) \
  X(CreatePed, 0xD49F9B0955C367DE, Ped, Hash, Vector3, float /*heading*/, int32_t, int32_t, int32_t, int32_t) \
  X(CreateVehicle, 0xAF35D0D2583051B0, Vehicle, Hash, Vector3, float /*heading*/, int32_t, int32_t, int32_t, int32_t) \
  X(SetPedSpawnFlag, 0x1794B4FCC84D812F, void, Ped, int32_t) \
  X(SetPedRelationshipGroup, 0xC80A74AC829DDD92, void, Ped, RelGroup) \
  X(GetPedRelationshipGroup, 0x7DBDD04862D95F04, RelGroup, Ped) \
  X(SetPedBlockEvents, 0x9F8AA94D6D97DBF4, void, Ped, bool) \
  X(GiveWeaponToPed, 0x5E3BDDBCB83F3D84, void, Ped, Hash, int32_t, int32_t, int32_t, int32_t, int32_t, float, float, Hash, int32_t, int32_t, int32_t) \
  X(AddRelationshipGroup, 0xF372BC22FCB88606, void, const char*, RelGroup*) \
  X(SetRelationshipBetweenGroups, 0xBF25EB89375A37AD, void, int32_t, RelGroup, RelGroup) \
  X(RemoveRelationshipGroup, 0xB6BA2444AB393DA2, void, RelGroup) \
  X(ReleaseEntity, 0x4971D2F8162B9674, void, Entity*) \
  X(DeleteEntity, 0x4CD38C78BD19A497, void, Entity*) \
  X(ClearPedTasks, 0xE1EF3C1216AFF2CD, void, Ped, int32_t, int32_t) \
  X(TaskCombatPed, 0xF166E48407BAC484, void, Ped, Ped, int32_t, int32_t) \
  X(KeepPedTask, 0x971D38760FBC02EF, void, Ped, int32_t) \
  /* detection */ \
  X(PedPerceivesPed, 0x06087579E7AA85A9, bool, Ped, Ped, float, float, float, float) \
  X(HasClearLineOfSight, 0xFCDFF7B72D23A1AC, bool, Entity, Entity, int32_t) \
  X(PedNoticesPed, 0x7F9B9791D4CB71F6, int32_t, Ped, Ped, int32_t, int32_t) \
  X(IsPedDown, 0x7D5B1F88E7504BBA, bool, Ped) \
  /* music, mission mode, transitions, routes, areas, game scripts */ \
  X(TriggerMusicEvent, 0x706D57B0F50DA710, bool, const char*) \
  X(PrepareMusicEvent, 0x1E5185B72EF5158A, bool, const char*) \
  X(SetMissionUiMode, 0x4D1A590C92BF377E, void, int32_t, int32_t) \
  X(SetPlayerControl, 0x4D51E59243281D80, void, Player, bool, int32_t, int32_t) \
  X(ReleaseTransition, 0xFC179D7E8886DADF, void) \
  X(IsTransitionActive, 0x71D4BF5890659B0C, bool) \
  X(RequestTransitionScene, 0x013A80FC08F6E4F2, void, const char*) \
  X(HasTransitionSceneLoaded, 0xB65B60556E2A9225, bool, const char*) \
  X(GpsRouteBegin, 0x3D3D15AF7BCAAF83, void, Hash, int32_t, int32_t) \
  X(GpsRouteAddPoint, 0x64C59DD6834FA942, void, Vector3, int32_t) \
  X(GpsRouteShow, 0x4426D65E029A4DC0, void, bool) \
  X(ClearArea, 0x3B882A96EA77D5B1, void, Vector3, float /*radius*/, int32_t) \
  X(ClearAreaOfAmbient, 0x9D16896F0DBE78A2, void, Vector3, float /*radius*/) \
  X(BeginThreadScan, 0x39382EB8DCD8684D, void) \
  X(NextThread, 0x3CE3FB167E837D7C, int32_t) \
  X(ThreadNameHash, 0x724CB89D35B283D0, Hash, int32_t) \
  X(TerminateThread, 0x87ED52AE40EA1A52, void, int32_t) \
  /* death, respawn and randomness */ \
  X(IsPlayerDead, 0x2E9C3FCB6798F397, bool, Player) \
  X(KillPed, 0xAC2767ED8BDFAB15, void, Ped, int32_t, int32_t) \
  X(ResurrectPed, 0x71BC8E838B9C6035, void, Ped) \
  X(SetPedProtected, 0xA5C38736C426FCB8, void, Ped, bool) \
  X(SetPlayerDeathState, 0x34630A768925B852, void, Player, bool) \
  X(SetDeathDisplayFlag, 0xEF9E1C45732F55FA, void, bool) \
  X(HoldTransitionFlag, 0x163600D6E136C9F8, void, int32_t) \
  X(StartScreenEffect, 0x4102732DF6B4005F, void, const char*) \
  X(ResetViewState, 0xBAC7FC81A75EC1A1, void) \
  X(SetEntityCoords, 0x06843DA7060A026B, void, Entity, Vector3, int32_t, int32_t, int32_t, int32_t) \
  X(FindNearbyNode, 0x240A18690AE96513, bool, Vector3, OutVector3*, int32_t, int32_t, int32_t) \
  X(FindSafeSpawnPoint, 0xB61C8E878A4199CA, bool, Vector3, int32_t, OutVector3*, int32_t) \
  X(RandomIntInRange, 0xD53343AA4FB7DD28, int32_t, int32_t /*low*/, int32_t /*high*/) \
  X(RandomFloat, 0xE29F927A961F8AAA, float, float /*low*/, float /*high*/) \
  X(GetPlayerWantedLevel, 0xABC532F9098BFD9D, int32_t, Player) \
  /* rank and skills */ \
  X(SetTimeScale, 0x9682AF6050854856, void, float) \
  X(SetPlayerScalar, 0xC41F4B6E23FE6A4A, void, Player, float) \
  X(GetPlayerName, 0x7124FD9AC0E01BA0, const char*, Player) \
  X(IsPlayerMenuBlocked, 0x936F967D4BE1CE9D, bool, Player) \
  X(IsPedMenuBlocked, 0x24B100C68C645951, bool, Ped) \
  X(SetDeadEyeEnabled, 0x95EE1DEE1DCD9070, void, Player, bool) \
  X(SetDeadEyeBlocked, 0xAE637BB8EF017875, void, Player, bool) \
  /* placement, mounts */ \
  X(GetEntityOffsetPosition, 0x497C6B1A2C9AE69C, Vector3, Entity, Vector3 /*offset*/) \
  X(PlaceEntityWithHeading, 0x0918E3565C20F03C, void, Entity, Vector3, float /*heading*/, int32_t, int32_t) \
  X(SetPedOnMount, 0x028F76B6E78246EB, void, Ped, Ped /*mount*/, int32_t /*seat*/, int32_t) \
  X(SetMountMotion, 0xA69899995997A63B, void, Ped, int32_t) \
  X(SetMountOption, 0xA09CFD29100F06C3, void, Ped, int32_t, int32_t, int32_t) \
  X(TaskWalkToCoord, 0x15D3A79D4E44B913, void, Ped, Vector3, float /*speed*/, int32_t, int32_t, int32_t) \
  X(SetRadarFlag, 0xD63FE3AF9FB3D53F, void, int32_t) \
  /* prompts */ \
  X(PromptRegisterBegin, 0x04F97DE45A519419, Prompt) \
  X(PromptSetControlAction, 0xB5352B7494A08258, void, Prompt, Hash) \
  X(PromptSetText, 0x5DD02A8318420DD7, void, Prompt, DisplayString) \
  X(PromptSetHoldMode, 0xCC6656799977741B, void, Prompt, int32_t) \
  X(PromptRegisterEnd, 0xF7AA2696A22AD8B9, void, Prompt) \
  X(PromptSetEnabled, 0x8A0FB4D03A630D21, void, Prompt, bool) \
  X(PromptSetVisible, 0x71215ACCFDE075EE, void, Prompt, bool) \
  X(PromptDelete, 0x00EDE88D4D13CF59, void, Prompt) \
  X(PromptIsValid, 0x347469FBDD1589A9, bool, Prompt) \
  X(PromptHasHoldCompleted, 0xC92AC953F0A982AE, bool, Prompt, int32_t) \
  /* trains */ \
  X(CreateMissionTrain, 0xC239DBD9A57D2A71, Vehicle, Hash /*configuration*/, Vector3, int32_t, int32_t, int32_t, int32_t) \
  X(ReadTrainState, 0x60B7D1DCC312697D, int32_t, Vehicle) \
  X(SetTrainSpeed, 0x9F29999DFDF2AEB8, void, Vehicle, float) \
  X(SetTrainTargetSpeed, 0xDFBA6BBFF7CCAFBB, void, Vehicle, float) \
  X(SetTrainSpeedLimit, 0x01021EB2E96B793C, void, Vehicle, float) \
  X(SetTrainStopFlag, 0x4182C037AA1F0091, void, Vehicle, int32_t) \
  X(GetVehicleSeatPed, 0xBB40DD2270B65366, Ped, Vehicle, int32_t /*seat*/) \
  X(GetTrainAtIndex, 0x6E585A616ABB8401, Vehicle, int32_t) \
  X(DeleteTrain, 0x0D3630FB07E8B570, void, Vehicle*) \
  X(DiscardTrain, 0xE20A909D8C4A70F8, void, Vehicle*) \
  X(SetTrainWorldFlag, 0x1156C6EE7E82A98A, void, int32_t) \
  X(ResetTrainWorld, 0xA3120A1385F17FF7, void) \
  X(FreezeTrainWorld, 0x138398153824E332, void) \
  X(SetNamedTrackOption, 0x9925EDDB6EAB88CD, void, Hash, int32_t) \
  X(IsPlayerOnTrain, 0x2FB0ACADA6A238DD, bool, Player) \
  /* objects and carrying */ \
  X(CreateObject, 0x509D5878EB39E842, Object, Hash, Vector3, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) \
  X(SetObjectFlag, 0x18FF3110CF47115D, void, Object, int32_t, bool) \
  X(SetObjectOption, 0x7DFB49BCDB73089A, void, Object, int32_t) \
  X(SetObjectConfig, 0xF0B4F759F35CC7F5, void, Object, Hash, int32_t, int32_t, int32_t) \
  X(EnableObjectInteraction, 0x2208438012482A1A, void, Object, int32_t, int32_t) \
  X(GetCarryState, 0x61914209C36EFDDB, int32_t, Entity) \
  X(GetCarriedEntity, 0xD806CD2A4F2C2996, Entity, Ped) \
  X(TaskPlaceCarriedEntity, 0xC7F0B43DCDC57E3D, void, Ped, Entity, Vector3, float, int32_t) \
  /* combat, weapons */ \
  X(PreparePedForCombat, 0xDC19C288082E586E, void, Ped, int32_t, int32_t) \
  X(SetPedCombatStyle, 0x0703B9079823DA4A, void, Ped, int32_t) \
  X(SetPedCombatOption, 0x3C606747B23E497B, void, Ped, int32_t) \
  X(SetPedCombatFlag, 0xC7622C0D36B2FDA8, void, Ped, int32_t) \
  X(SetPedCombatLevel, 0x4D9CA1009AFBD057, void, Ped, int32_t) \
  X(PedSensesPed, 0x4859F1FC66A6278E, bool, Ped, Ped) \
  X(FindPedWeaponOfGroup, 0x3A87E44BB9A01D54, bool, Ped, Hash*, int32_t, int32_t /*group*/, int32_t) \
  X(IsWeaponUsable, 0x937C71165CF334B3, bool, Hash) \
  X(SetCurrentPedWeapon, 0xADF692B254977C0C, void, Ped, Hash, int32_t, int32_t, int32_t, int32_t) \
  X(GetWeaponCapacity, 0xA38DCFFCEA8962FA, int32_t, Ped, Hash, int32_t) \
  X(SetWeaponAmmoCount, 0xDCD2A934D65CB497, void, Ped, Hash, int32_t) \
  X(RefreshPedWeapon, 0x79E1E511FF7EFB13, void, Ped) \
  /* law */ \
  X(SetLawFlagBeforeCrimeReport, 0x710448D44A64C213, void, int32_t) \
  X(SetLawFlagAfterCrimeReport, 0x987BE590FB9D41E5, void, int32_t) \
  X(SetLawFlagEndingCrimeReport, 0xDCF12B89624AAC96, void, int32_t) \
  X(ReportCrime, 0xEDFC6C1FD1C964F5, void, int32_t /*law context*/, Hash /*crime*/, int32_t, int32_t, int32_t) \
  X(IsLawResponding, 0xAD401C63158ACBAA, bool, Player) \
  X(DispatchLawToCoord, 0x75CBF20BA47E4F89, void, Vector3, Hash) \
  /* the law, the player's name, the radar, screen effects */ \
  X(ResetPlayerLawState, 0x062B4A4A3396351D, void, Player) \
  X(ResetLawResponse, 0x55F37F5F3F2475E1, void) \
  X(SetPenitentiaryLawOptionFirst, 0xAB0D553FE20A6E25, void, int32_t) \
  X(SetPenitentiaryLawOptionSecond, 0xBA0980B5C0A11924, void, int32_t) \
  X(SetPenitentiaryLawOptionThird, 0xC0258742B034DFAF, void, int32_t) \
  /* the prologue's player set-up */ \
  X(ResetPlayerForMission, 0xC76F252371150D9A, void, Player) \
  X(ApplyRegionByName, 0x26D558692B25DD95, void, const char*) \
  X(SetPedCarryFlag, 0x77FF8D35EEC6BBC4, void, Ped, int32_t, int32_t) \
  X(SetPedSceneOption, 0xE0031D3C8F36AB82, void, Ped, int32_t, int32_t, int32_t) \
  X(GetPedWeaponInHand, 0x8425C5F057012DAB, Hash, Ped) \
  /* bodies: looting, carrying, water, death */ \
  X(HasPedBeenLooted, 0x8DE41E9902E85756, bool, Ped) \
  X(SetPedLootable, 0x476AE72C1D19D1A8, void, Ped, int32_t) \
  X(IsEntityInWater, 0xDDE5C125AC446723, bool, Entity) \
  X(IsPedDeadOrDying, 0x3317DEDB88C95038, bool, Ped, int32_t) \
  /* placing entities, vehicles, objects */ \
  X(SetEntityCoordsAndHeading, 0x203BEFFDBE12E96A, void, Entity, Vector3, float /*heading*/) \
  X(SetEntityHeading, 0xCF2B9C0645C4651B, void, Entity, float) \
  X(IsPedInVehicle, 0xA3EE4A07279BB9DB, bool, Ped, Vehicle, int32_t) \
  X(DeleteVehicle, 0x629BFA74418D6239, void, Vehicle*) \
  X(CreateObjectNoOffset, 0x9A294B2138ABB884, Object, Hash, Vector3, int32_t, int32_t, int32_t) \
  X(PlayEntityAnim, 0xDC6D22FAB76D4874, void, Entity, const char* /*clip*/, const char* /*dict*/, float, int32_t, int32_t) \
  X(ForceEntityAnimUpdate, 0x4C9E96473D4F1A88, void, Entity, int32_t) \
  X(GetAnimStartPosition, 0xBE22B26DD764C040, Vector3, const char*, const char*, Vector3, Vector3, int32_t, int32_t) \
  X(GetAnimStartRotation, 0x4B805E6046EE9E47, Vector3, const char*, const char*, Vector3, Vector3, int32_t, int32_t) \
  /* tasks and task sequences */ \
  X(TaskGuardPosition, 0xAE032F8BBA959E90, void, Ped, Vector3, float /*heading*/, const char*) \
  X(TaskGoToCoordAndFace, 0xD04FE6765D990A06, void, Ped, Vector3, float /*heading*/, float) \
  X(OpenTaskSequence, 0xE8854A4326B9E12B, void, TaskSequence*) \
  X(CloseTaskSequence, 0x39E72BC99E6360CB, void, TaskSequence) \
  X(TaskPerformSequence, 0x5ABA3986D90D8A3B, void, Ped, TaskSequence) \
  X(ClearTaskSequence, 0x3841422E9C488D8C, void, TaskSequence*) \
  X(GetSequenceProgress, 0x00A9010CFE1E3533, int32_t, Ped) \
  /* combat set-up */ \
  X(SetPedSightRange, 0x8182B561A29BD597, void, Ped, float) \
  X(SetPedAccuracy, 0x614DA022990752DC, void, Ped, int32_t) \
  /* animation scenes */ \
  X(CreateAnimScene, 0x1FCA98E33C1437B3, AnimScene, const char*, int32_t, int32_t, int32_t, int32_t) \
  X(LoadAnimScene, 0xAF068580194D9DC7, void, AnimScene) \
  X(IsAnimSceneLoaded, 0x477122B8D05E7968, bool, AnimScene, int32_t, int32_t) \
  X(IsAnimScenePending, 0xCBFC7725DE6CE2E0, bool, AnimScene, int32_t) \
  X(SetAnimSceneEntity, 0x8B720AD451CA2AB3, void, AnimScene, const char*, Entity, int32_t) \
  X(StartAnimScene, 0xF4D94AF761768700, void, AnimScene) \
  X(HasAnimSceneEntityFinished, 0xB89FCFF19DAFFF28, bool, AnimScene, const char*) \
  X(ReleaseAnimScene, 0x84EEDB2C6E650000, void, AnimScene)
// clang-format on

namespace brimvale {

#define BRIMVALE_DECLARE_NATIVE(Name, Hash_, Result, ...) \
  inline constexpr Native<Hash_, Result __VA_OPT__(, ) __VA_ARGS__> Name{};
BRIMVALE_NATIVES(BRIMVALE_DECLARE_NATIVE)
#undef BRIMVALE_DECLARE_NATIVE

// Flag and option values the natives above take, named where the plugin passes them from more
// than one place or where a bare number would not say which it is.
inline constexpr int32_t kMenuPad = 2;    // ControlJustPressed, DisableControlThisFrame: menus
inline constexpr int32_t kEditorPad = 0;  // ControlJustPressed: the creator's and wardrobe's pages
// CreateVarString's first argument: a string of a literal or a player text, or a coloured one.
inline constexpr int32_t kVarStringPlain = 10;
inline constexpr int32_t kVarStringColoured = 42;
// What the death-flow options, the law flags and the law options change is the game's; they are
// named for the two pairs the death flow comes in and for where the plugin sets the others.
// The death flow: the free-roam pair is on from the campaign's start, the death-screen pair while
// the death screen shows and after the revive.
struct DeathFlowOptions {
  int32_t freeRoamFirst, freeRoamSecond, deathScreenFirst, deathScreenSecond;
};
inline constexpr DeathFlowOptions kDeathFlowAtCampaignStart{1, 1, 0, 0};
inline constexpr DeathFlowOptions kDeathFlowOnDeathScreen{0, 0, 1, 1};
inline void SetDeathFlowOptions(DeathFlowOptions options) {
  SetDeathFlowFreeRoamFirst(options.freeRoamFirst);
  SetDeathFlowFreeRoamSecond(options.freeRoamSecond);
  SetDeathFlowDeathScreenFirst(options.deathScreenFirst);
  SetDeathFlowDeathScreenSecond(options.deathScreenSecond);
}
// SetLawFlag*CrimeReport and SetPenitentiaryLawOption*: every call turns its setting off.
inline constexpr int32_t kLawSettingOff = 0;
// SetPedCarryFlag's flag ids: the prologue's player reset sets one, the hideout's end the other.
inline constexpr int32_t kCarryFlagPlayerReset = 8;
inline constexpr int32_t kCarryFlagMissionEnd = 0;
// SetSceneOption's scene mode: a mission's start gives its own, its end (and the creator's
// scene) the closing one.
inline constexpr int32_t kSceneModePrologue = 0;
inline constexpr int32_t kSceneModeTrainRobbery = 6;
inline constexpr int32_t kSceneModeClosing = 8;
// SetLawContextOption: the option the campaign turns on in the law context at its start.
inline constexpr int32_t kLawContextCampaignOption = 37;
// SetPedSceneFlag(ped, flag, 0, 0, last): the flag the player gets on entering a screen or scene
// of the plugin's own (the creator, the menu, a wardrobe, the hideout); the robbery's start sets
// the last slot alone.
inline constexpr int32_t kSceneFlagOwnScene = 1;
inline constexpr int32_t kSceneFlagNone = 0;
inline constexpr int32_t kSceneFlagLastRobberyStart = 1;
// SetPedSceneOption(ped, option, 0, bits): the player's part in the hideout's animation scene.
inline constexpr int32_t kPedSceneOptionHideoutScene = 1;
inline constexpr int32_t kPedSceneOptionHideoutSceneBits = 256;
// SetPedStartOption(ped, option, 0, last): on while a walk style is swapped and when the
// prologue places the player (with the last slot set), off once the new style is on.
inline constexpr int32_t kStartOptionOn = 1;
inline constexpr int32_t kStartOptionOff = 0;
inline constexpr int32_t kStartOptionLastPrologue = 1;
// SetPedSpawnFlag: every ped a mission makes.
inline constexpr int32_t kSpawnFlagMissionPed = 1;
// SetMissionUiMode's first argument: a mission's, from its card to its end, then free roam's.
inline constexpr int32_t kMissionUiModeMission = 1;
inline constexpr int32_t kMissionUiModeFreeRoam = 0;
// SetMountMotion and SetMountOption: the horse under the robbery's slow-motion cut.
inline constexpr int32_t kMountMotionRobberyCut = 2;
inline constexpr int32_t kMountOptionRobberyCut = 1;
// The train guards' combat style, option and flag, and the hideout gang's flag.
inline constexpr int32_t kCombatStyleTrainGuard = 2;
inline constexpr int32_t kCombatOptionTrainGuard = 1;
inline constexpr int32_t kCombatFlagTrainGuard = 1;
inline constexpr int32_t kCombatFlagHideoutGang = 0;
// SetObjectOption: the robbery's money bag.
inline constexpr int32_t kObjectOptionMoneyBag = 0;
// SetNamedTrackOption: the robbery sets the box-car track's option and clears its own track's.
inline constexpr int32_t kTrackOptionSet = 1;
inline constexpr int32_t kTrackOptionCleared = 0;
// ClearArea: the broad set of bits first, then bit 21 alone.
inline constexpr int32_t kClearAreaBroadFlags = 1917883;
inline constexpr int32_t kClearAreaBit21 = 0x200000;

}  // namespace brimvale
